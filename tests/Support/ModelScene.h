#pragma once
// The render core set up for model drawing: default model textures in the data
// folder (white colour, flat normal, rough dielectric material, no effects), a
// depth-tested frame, a perspective camera and a directional light.
#include "Support/DdsFile.h"
#include "Support/GraphicsSetUp.h"
#include "graphics/GraphicsStateStack.h"
#include "model/Model.h"
#include "model/ModelFactory.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <string>
#include <utility>
#include <vector>

namespace NorvTest
{
	// One RGBA texel as a 1 x 1 uncompressed DDS file.
	inline std::string SolidDds(std::array<std::uint8_t, 4> aTexel)
	{
		return MakeMaskDds({}, 32, RGBA_MASKS, std::string(reinterpret_cast<const char*>(aTexel.data()), 4));
	}

	inline std::vector<std::pair<std::string, std::string>> DefaultModelTextures()
	{
		return { { "Textures/T_Default_c.dds", SolidDds({ 255, 255, 255, 255 }) }, { "Textures/T_Default_n.dds", SolidDds({ 128, 128, 255, 255 }) },
			{ "Textures/T_Default_m.dds", SolidDds({ 0, 160, 255, 255 }) }, { "Textures/T_Default_fx.dds", SolidDds({ 0, 0, 0, 255 }) } };
	}

	// The box spanned by every mesh of a model.
	struct ModelBox
	{
		Norv::Vector3<float> myMin{ FLT_MAX, FLT_MAX, FLT_MAX };
		Norv::Vector3<float> myMax{ -FLT_MAX, -FLT_MAX, -FLT_MAX };

		explicit ModelBox(const Norv::Model& aModel)
		{
			for (const Norv::MeshData& someMesh : aModel.GetMeshes())
			{
				const Norv::Vector3<float> someLow = someMesh.myBounds.myCenter - someMesh.myBounds.myHalfExtents;
				const Norv::Vector3<float> someHigh = someMesh.myBounds.myCenter + someMesh.myBounds.myHalfExtents;
				myMin = { std::min(myMin.x, someLow.x), std::min(myMin.y, someLow.y), std::min(myMin.z, someLow.z) };
				myMax = { std::max(myMax.x, someHigh.x), std::max(myMax.y, someHigh.y), std::max(myMax.z, someHigh.z) };
			}
		}
		Norv::Vector3<float> Center() const { return (myMin + myMax) * 0.5f; }
		float Radius() const { return ((myMax - myMin) * 0.5f).Length(); }
	};

	class ModelScene
	{
	public:
		static constexpr float FIELD_OF_VIEW_DEGREES = 60.0f;

		explicit ModelScene(Norv::Vector2<unsigned int> aSize = { 320, 240 }, std::vector<std::pair<std::string, std::string>> aDataFiles = {})
			: mySetUp(aSize, NORV_COOKED_DIR, WithDefaults(std::move(aDataFiles)))
		{
		}

		GraphicsSetUp& SetUp() { return mySetUp; }
		Norv::GraphicsStateStack& Stack() { return *mySetUp.Graphics().GetGraphicsStateStack(); }

		// Clears colour and depth, binds both, resets the stack and looks at aTarget
		// from aDistance in front (along -z), lit from the upper left front.
		void BeginFrame(const Norv::Vector3<float>& aTarget, float aDistance)
		{
			mySetUp.DX11().Clear(Norv::Color(0.0f, 0.0f, 0.0f, 1.0f));
			Norv::DX11::ourBackBuffer->SetAsActiveTarget(Norv::DX11::ourDepthBuffer);
			Norv::GraphicsStateStack& someStack = Stack();
			someStack.ResetToDefault(true);
			Norv::Camera someCamera;
			const Norv::Vector2<unsigned int> someSize = mySetUp.DX11().GetBackBufferSize();
			someCamera.SetPerspectiveProjection(FIELD_OF_VIEW_DEGREES, { static_cast<float>(someSize.x), static_cast<float>(someSize.y) }, 1.0f, 10000.0f);
			someCamera.SetTransform(Norv::Matrix4x4::CreateTranslation({ aTarget.x, aTarget.y, aTarget.z - aDistance }));
			someStack.SetCamera(someCamera);
			someStack.SetAmbientColor(Norv::Color(0.25f, 0.25f, 0.3f, 1.0f));
			someStack.SetDirectionalLight(Norv::Matrix4x4::CreateRotationAroundX(35.0f) * Norv::Matrix4x4::CreateRotationAroundY(25.0f), Norv::Color(1.0f, 0.95f, 0.9f, 1.0f), 2.0f);
			someStack.UpdateGpuStates(false);
		}

	private:
		static std::vector<std::pair<std::string, std::string>> WithDefaults(std::vector<std::pair<std::string, std::string>> aFiles)
		{
			// A default the caller gives is kept.
			for (auto& someFile : DefaultModelTextures())
				if (std::none_of(aFiles.begin(), aFiles.end(), [&](const auto& aGiven) { return aGiven.first == someFile.first; }))
					aFiles.push_back(std::move(someFile));
			return aFiles;
		}

		GraphicsSetUp mySetUp;
	};
}

namespace NorvTest
{
	// The model factory lives for the process, but its models belong to one
	// device: tests that use it destroy it with their device.
	class FactoryScope
	{
	public:
		FactoryScope() = default;
		~FactoryScope() { Norv::ModelFactory::DestroyInstance(); }
		FactoryScope(const FactoryScope&) = delete;
		FactoryScope& operator=(const FactoryScope&) = delete;
		Norv::ModelFactory& operator*() const { return *Norv::ModelFactory::GetInstance(); }
		Norv::ModelFactory* operator->() const { return Norv::ModelFactory::GetInstance(); }
	};
}
