#include "scene/Scene.h"

#include "scene/GuidMap.h"

namespace Norv
{
	void Scene::Clear()
	{
		objects.clear();
		order.clear();
		pathCounts.clear();
	}

	void Scene::SetName(const char* aName)
	{
		name = aName;
	}

	void Scene::SetPath(const char* aPath)
	{
		path = aPath;
	}

	std::pair<std::uint32_t, SceneObject*> Scene::AddObject(const char* aGuid, const SceneObject& aObject)
	{
		const std::uint32_t someId = GuidToIndex(aGuid);
		++pathCounts[aObject.path];
		const auto [someEntry, someIsNew] = objects.try_emplace(someId);
		if (someIsNew)
			order.push_back(someId);
		std::shared_ptr<SceneObject>& someStored = someEntry->second;
		someStored = std::make_shared<SceneObject>(aObject);
		++pathCounts[StringId()];
		return { someId, someStored.get() };
	}
}
