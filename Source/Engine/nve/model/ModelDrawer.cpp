#include "model/ModelDrawer.h"

#include "model/ModelInstance.h"
#include "model/ModelShader.h"

namespace Norv
{
	namespace
	{
		struct ShaderPair
		{
			const char* myVertexShader;
			const char* myPixelShader;
			const char* myAmbientPixelShader; // for states without lights; "" for none
			const char* myDefaultSurfacePixelShader; // the ambient one for meshes with default surface textures; "" for none
		};

		constexpr const char* AMBIENT_PS = "shaders/model_shader_ambient_PS";
		constexpr const char* AMBIENT_DEFAULT_SURFACE_PS = "shaders/model_shader_ambient_default_surface_PS";
		constexpr ShaderPair SHADER_PAIRS[ModelDrawer::SHADER_COUNT] = {
			{ "shaders/model_shader_VS", "shaders/model_shader_PS", AMBIENT_PS, AMBIENT_DEFAULT_SURFACE_PS },
			{ "shaders/animated_model_shader_VS", "shaders/model_shader_PS", AMBIENT_PS, AMBIENT_DEFAULT_SURFACE_PS },
			{ "Shaders/PbrModelShaderVS", "Shaders/PbrModelShaderPS", "", "" },
			{ "Shaders/AnimatedPbrModelShaderVS", "Shaders/PbrModelShaderPS", "", "" },
			{ "Shaders/PbrModelShaderVS", "Shaders/LambertModelShaderPS", "", "" },
			{ "Shaders/AnimatedPbrModelShaderVS", "Shaders/LambertModelShaderPS", "", "" },
		};
		constexpr std::size_t INIT_ORDER[ModelDrawer::SHADER_COUNT] = { 0, 1, 4, 5, 2, 3 };
	}

	ModelDrawer::ModelDrawer() = default;

	ModelDrawer::~ModelDrawer()
	{
		for (std::size_t i = SHADER_COUNT; i-- > 0;)
			myShaders[i].reset();
	}

	bool ModelDrawer::Init()
	{
		for (std::size_t someSlot : INIT_ORDER)
		{
			myShaders[someSlot] = std::make_unique<ModelShader>();
			const ShaderPair& somePair = SHADER_PAIRS[someSlot];
			if (!myShaders[someSlot]->Init(somePair.myVertexShader, somePair.myPixelShader, somePair.myAmbientPixelShader, somePair.myDefaultSurfacePixelShader))
				return false;
		}
		myIsInitialized = true;
		return true;
	}

	void ModelDrawer::Draw(const ModelInstance& anInstance)
	{
		if (myShaders[0])
			anInstance.Render(*myShaders[0]);
	}

	void ModelDrawer::DrawAnimated(const AnimatedModelInstance& anInstance)
	{
		if (myShaders[1])
			anInstance.Render(*myShaders[1]);
	}

	void ModelDrawer::DrawWithShader(const ModelInstance& anInstance, ModelShader& aShader)
	{
		anInstance.Render(aShader);
	}
}
