// The object definitions (".nvo") of every entity, tile, prop and system object
// the levels use. The category marker comes first; per-instance properties are
// the ones a level may set on its own objects.
#include "Characters.h"
#include "StaticModels.h"

#include <sstream>

namespace NorvArt
{
	namespace
	{
		constexpr const char* DEFINITIONS_FOLDER = "definitions/";

		struct Property
		{
			std::string name, type, json;
			bool perInstance = true;
		};

		std::string Quoted(const std::string& aText)
		{
			return "\"" + aText + "\"";
		}

		std::string Number(double aValue)
		{
			std::ostringstream someText;
			someText << aValue;
			std::string someResult = someText.str();
			return someResult.find_first_of(".e") == std::string::npos ? someResult + ".0" : someResult;
		}

		Property Marker(const std::string& aName, const std::string& aValue) { return { aName, "StringId", Quoted(aValue), false }; }
		Property ModelProperty(const std::string& aPath) { return { "Model", "Model", "{ \"path\": " + Quoted(aPath) + " }", false }; }
		Property Clip(const std::string& aKey, const std::string& aPath) { return { aKey, "Animation Clip", "{ \"clip_path\": " + Quoted(aPath) + " }", false }; }
		Property Float(const std::string& aName, double aValue) { return { aName, "Float", Number(aValue) }; }
		Property Bool(const std::string& aName, bool aValue) { return { aName, "Bool", aValue ? "true" : "false" }; }
		Property Int(const std::string& aName, int aValue) { return { aName, "Int", std::to_string(aValue) }; }
		Property Text(const std::string& aName, const std::string& aValue) { return { aName, "StringId", Quoted(aValue) }; }
		Property Vector(const std::string& aName, const std::string& aType, const std::vector<double>& aValues)
		{
			std::string someJson = "[";
			for (size_t i = 0; i < aValues.size(); ++i)
				someJson += (i ? ", " : "") + Number(aValues[i]);
			return { aName, aType, someJson + "]" };
		}

		std::string Definition(const std::vector<Property>& aProperties)
		{
			std::string someText = "{\n  \"parent-object-definition\": \"\",\n  \"properties\": [\n";
			for (size_t i = 0; i < aProperties.size(); ++i)
			{
				const Property& p = aProperties[i];
				someText += "    { \"name\": " + Quoted(p.name) + ", \"is-dynamic\": false, \"is-per-instance\": " + (p.perInstance ? "true" : "false")
					+ ", \"type\": " + Quoted(p.type) + ", \"value\": " + p.json + " }" + (i + 1 < aProperties.size() ? ",\n" : "\n");
			}
			return someText + "  ]\n}\n";
		}

		// Colour adjustment every drawn object may take per instance.
		void AddColorAdjustment(std::vector<Property>& aProperties)
		{
			aProperties.push_back(Float("brightness", 1.0));
			aProperties.push_back(Float("saturation", 1.0));
			aProperties.push_back(Float("hue", 0.0));
		}

		// An animated entity: its skinned model and every clip its animator binds.
		std::vector<Property> Animated(const std::string& aEntityType, const std::string& aCharacter, const std::string& aClipsOf)
		{
			const Character& someCharacter = FindCharacter(aCharacter);
			std::vector<Property> someProperties{ Marker("entityId", aEntityType), ModelProperty(someCharacter.ModelPath()) };
			for (const ClipEntry& someClip : ClipCatalogue())
				if (someClip.character == aClipsOf)
					someProperties.push_back(Clip(someClip.key, someCharacter.ClipPath(someClip.clip)));
			someProperties.push_back(Float("positionZ", 0.0));
			return someProperties;
		}

		std::vector<Property> Static(const std::string& aEntityType, const std::string& aModel)
		{
			std::vector<Property> someProperties{ Marker("entityId", aEntityType) };
			if (!aModel.empty())
				someProperties.push_back(ModelProperty(EntityModelPath(aModel)));
			return someProperties;
		}
	}

	void WriteDefinitions(const OutputFolders& aFolders)
	{
		const auto Write = [&](const std::string& aFolder, const std::string& aName, std::vector<Property> aProperties, bool aColor = true) {
			if (aColor)
				AddColorAdjustment(aProperties);
			WriteOutputFile(aFolders.game, DEFINITIONS_FOLDER + aFolder + aName + ".nvo", Definition(aProperties));
		};

		// ---------------------------------------------------------------- entities
		Write("entities/", "Player", Animated("Player", "Player", "Player"));
		{
			std::vector<Property> someHedgehog = Animated("PatrollingEnemy", "Hedgehog", "Hedgehog");
			someHedgehog.push_back(Bool("isBoss", false));
			Write("entities/", "Hedgehog", someHedgehog);
			std::vector<Property> someBoss = Animated("PatrollingEnemy", "HedgehogBoss", "Hedgehog");
			someBoss.push_back(Bool("isBoss", true));
			someBoss.push_back(Vector("colliderSize", "Float2", { 240, 260 })); // feet on the collider's floor
			Write("entities/", "HedgehogBoss", someBoss);
		}
		Write("entities/", "Wasp", Animated("FlyingEnemy", "Wasp", "Wasp"));
		Write("entities/", "Mushroom", Animated("MushroomEnemy", "Mushroom", "Mushroom"));
		{
			std::vector<Property> someFlower = Animated("FlowerPlatform", "FlowerPlatform", "FlowerPlatform");
			someFlower.push_back(Vector("scale", "Float3", { 28, 28, 28 }));
			Write("entities/", "FlowerPlatform", someFlower);
		}
		Write("entities/", "Crate", Animated("Destructible", "Crate", "Crate"));
		Write("entities/", "Crystal", Animated("Destructible", "Crystal", "Crystal"));

		for (const char* someDoor : { "Door", "DoorStone" })
		{
			std::vector<Property> someProperties = Static("Door", someDoor);
			// The door adds "scenes/" and ".nvs" to the name.
			someProperties.push_back(Text("targetScene", "Hub"));
			someProperties.push_back(Vector("colliderSize", "Float2", { 100, 200 }));
			Write("entities/", someDoor, someProperties);
		}
		{
			std::vector<Property> someLever = Static("Lever", "Lever");
			someLever.push_back(Int("connectedDoor", 0));
			Write("entities/", "Lever", someLever);
			std::vector<Property> someGate = Static("Gate", "Gate");
			someGate.push_back(Int("connectedLever", 0));
			someGate.push_back(Bool("panOnOpen", false));
			someGate.push_back(Vector("colliderSize", "Float2", { 100, 300 }));
			Write("entities/", "Gate", someGate);
		}
		Write("entities/", "Spikes", Static("Spikes", "Spikes"));
		for (const char* somePickup : { "WallJumpPickup", "DashPickup", "ClimbPickup", "DashSlashPickup" })
			Write("entities/", somePickup, Static(somePickup, somePickup));
		Write("entities/", "Checkpoint", Static("Checkpoint", "Checkpoint"));
		Write("entities/", "BookShowcase", Static("bookShowcase", "BookShowcase"));
		Write("entities/", "Butterfly", { Marker("entityId", "Butterfly"), Vector("scale", "Float3", { 1, 1, 1 }) }, false);
		// The triggers keep the colliders their entities make.
		Write("entities/", "BossTrigger", { Marker("entityId", "BossTrigger") }, false);
		Write("entities/", "EndingTrigger", { Marker("entityId", "EndingTrigger") }, false);

		// ---------------------------------------------------------------- tiles and props
		for (const SetPiece& somePiece : SetPieces())
		{
			std::vector<Property> someProperties;
			if (somePiece.isTile)
				someProperties = { Marker("tileId", somePiece.model.name), ModelProperty(somePiece.model.path), Bool("visible", true) };
			else
				someProperties = { Marker("prop", somePiece.model.name), ModelProperty(somePiece.model.path), Bool("useFrustumCulling", true) };
			if (somePiece.isDrawnWithHints)
				someProperties.push_back(Bool("drawnWithHints", true));
			Write(somePiece.isTile ? "tiles/" : "props/", somePiece.model.name, someProperties, !somePiece.isTile);
			// Tiles are collision only and never drawn: each tile model is also a prop, which the
			// level sources lay over their tiles.
			if (somePiece.isTile)
				Write("props/", "Prop_" + somePiece.model.name, { Marker("prop", "Prop_" + somePiece.model.name), ModelProperty(somePiece.model.path), Bool("useFrustumCulling", true) });
		}
		// A solid tile that is not drawn: level edges and hidden walls.
		Write("tiles/", "Tile_Invisible", { Marker("tileId", "Tile_Invisible"), Bool("visible", false) }, false);

		// ---------------------------------------------------------------- system objects
		Write("system/", "LevelSettings",
			{ Marker("system", "LevelSettings"), Vector("fogColor", "Color", { 0.55, 0.62, 0.66, 1.0 }), Bool("dashUnlocked", false), Bool("climbUnlocked", false), Bool("slashUnlocked", false) }, false);
		Write("system/", "CameraBoundaryTopRight", { Marker("system", "CameraBoundaryTopRight"), Bool("cameraBoundaryTopRight", true) }, false);
		Write("system/", "CameraBoundaryBottomLeft", { Marker("system", "CameraBoundaryBottomLeft"), Bool("cameraBoundaryBottomLeft", true) }, false);
	}
}
