#pragma once
// Draws model instances with six ready-made model shaders: the plain pair
// (slots 0 and 1, used by Draw and DrawAnimated), the physically based pair
// (2, 3) and the Lambert pair (4, 5), static and skinned.
#include <array>
#include <cstddef>
#include <memory>

namespace Norv
{
	class ModelShader;
	class ModelInstance;
	class AnimatedModelInstance;

	class ModelDrawer
	{
	public:
		static constexpr std::size_t SHADER_COUNT = 6;

		ModelDrawer();
		~ModelDrawer();
		ModelDrawer(const ModelDrawer&) = delete;
		ModelDrawer& operator=(const ModelDrawer&) = delete;

		// Makes the shaders in the order 0, 1, 4, 5, 2, 3; false at the first failure.
		bool Init();
		void Draw(const ModelInstance& anInstance);
		void DrawAnimated(const AnimatedModelInstance& anInstance);
		void DrawWithShader(const ModelInstance& anInstance, ModelShader& aShader);

		// The shader of a slot; null when it was not made.
		ModelShader* GetShader(std::size_t aSlot) const { return aSlot < SHADER_COUNT ? myShaders[aSlot].get() : nullptr; }

	private:
		std::array<std::unique_ptr<ModelShader>, SHADER_COUNT> myShaders;
		bool myIsInitialized = false;
	};
}
