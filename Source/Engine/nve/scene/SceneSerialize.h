#pragma once
// Loads the objects of one scene from the json files beside its ".nvs" name,
// relative to the game assets folder. Two forms, tried in this order:
// A: <scene>.leveldata_new/leveldata.json, one document holding every object;
// B: <scene>.leveldata/, one file per object named by the object's GUID, with no
//    extension.
#include "scene/Scene.h"

namespace Norv::SceneSerialize
{
	// Clears aScene and fills it. A scene with neither folder is empty and loads.
	// An object with a value of the wrong form is skipped with one line naming the
	// scene, the object and the key; the other objects load. A file that cannot be
	// read or is not json is reported with its path (in form B the other objects
	// still load); the result is then false, and the scene keeps what could be read.
	bool LoadScene(const char* aScenePath, Scene& aScene);
}
