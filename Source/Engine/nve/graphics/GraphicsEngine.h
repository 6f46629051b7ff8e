#pragma once
// The engine's drawing services: sprite, model, shape and line drawers, the graphics
// state stack and the full-screen effects, each owned here.
#include <memory>

namespace Norv
{
	class SpriteDrawer;
	class ModelDrawer;
	class CustomShapeDrawer;
	class LineDrawer;
	class GraphicsStateStack;
	class FullscreenEffect;
	class FullscreenPixelateEffect;

	class GraphicsEngine
	{
	public:
		GraphicsEngine();
		~GraphicsEngine();
		GraphicsEngine(const GraphicsEngine&) = delete;
		GraphicsEngine& operator=(const GraphicsEngine&) = delete;

		// Drawers first (their failures leave them unloaded), then the effects (a
		// missing effect shader fails), then the state stack. Makes this object the
		// current one.
		bool Init();

		// The graphics object whose Init ran last and that still exists (the
		// engine's own in the program), and its state stack; null without one.
		static GraphicsEngine* GetCurrent() { return ourCurrent; }
		static GraphicsStateStack* GetStateStack() { return ourCurrent ? ourCurrent->myGraphicsStateStack.get() : nullptr; }

		SpriteDrawer* GetSpriteDrawer() const { return mySpriteDrawer.get(); }
		ModelDrawer* GetModelDrawer() const { return myModelDrawer.get(); }
		CustomShapeDrawer* GetCustomShapeDrawer() const { return myCustomShapeDrawer.get(); }
		LineDrawer* GetLineDrawer() const { return myLineDrawer.get(); }
		GraphicsStateStack* GetGraphicsStateStack() const { return myGraphicsStateStack.get(); }
		FullscreenEffect* GetCopyEffect() const { return myCopyEffect.get(); }
		FullscreenEffect* GetToneMapEffect() const { return myToneMapEffect.get(); }
		FullscreenEffect* GetVerticalBlurEffect() const { return myVerticalBlurEffect.get(); }
		FullscreenEffect* GetHorizontalBlurEffect() const { return myHorizontalBlurEffect.get(); }
		FullscreenPixelateEffect* GetPixelateEffect() const { return myPixelateEffect.get(); }
		bool IsInitialized() const { return myIsInitialized; }

	private:
		std::unique_ptr<SpriteDrawer> mySpriteDrawer;
		std::unique_ptr<ModelDrawer> myModelDrawer;
		std::unique_ptr<CustomShapeDrawer> myCustomShapeDrawer;
		std::unique_ptr<LineDrawer> myLineDrawer;
		std::unique_ptr<GraphicsStateStack> myGraphicsStateStack;
		std::unique_ptr<FullscreenEffect> myCopyEffect;
		std::unique_ptr<FullscreenEffect> myToneMapEffect;
		std::unique_ptr<FullscreenEffect> myVerticalBlurEffect;
		std::unique_ptr<FullscreenEffect> myHorizontalBlurEffect;
		std::unique_ptr<FullscreenPixelateEffect> myPixelateEffect;
		bool myIsInitialized = false;

		inline static GraphicsEngine* ourCurrent = nullptr;
	};
}
