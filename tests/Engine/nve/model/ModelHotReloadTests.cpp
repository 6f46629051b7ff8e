// Model files changed on disk while the engine runs: its file watcher (a thread
// of its own) tells the model factory, which loads the new file on the next
// request while instances made before keep the model they hold.
#include "Support/FbxScenes.h"
#include "Support/ModelScene.h"
#include "Support/RunningEngine.h"

#include "filewatcher/FileWatcher.h"
#include "settings/DebugFeature.h"
#include "settings/settings.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace
{
	namespace fs = std::filesystem;

	class ModelHotReload : public testing::Test
	{
	protected:
		static Norv::EngineCreateParameters WithWatcher()
		{
			Norv::EngineCreateParameters someParameters;
			someParameters.myDebugFeatures = Norv::ToMask(Norv::DebugFeature::Filewatcher);
			return someParameters;
		}

		void SetUp() override
		{
			if (!myEngine.IsStarted())
				GTEST_SKIP() << "no GPU device";
			for (const auto& [someName, someBytes] : NorvTest::DefaultModelTextures())
				myEngine.Folder().Write(fs::path("data") / someName, someBytes);
		}

		// Writes data/aName; a rewrite moves the file's time on, so the watcher sees a change.
		void Save(const std::string& aName, const std::string& aBytes)
		{
			const fs::path someFile = myEngine.Folder().Write(fs::path("data") / aName, aBytes);
			fs::last_write_time(someFile, fs::last_write_time(someFile) + std::chrono::seconds(++mySaves));
		}

		static float HalfWidth(const std::shared_ptr<Norv::Model>& aModel)
		{
			return aModel ? aModel->GetMeshes()[0].myBounds.myHalfExtents.x : 0.0f;
		}

		NorvTest::RunningEngine myEngine{ WithWatcher() };
		NorvTest::FactoryScope myFactory;
		int mySaves = 0;
	};
}

TEST_F(ModelHotReload, ASavedFileIsLoadedAnewWhileOldInstancesKeepTheirs)
{
	Save("hot.fbx", NorvTest::CubeFbx(5.0));
	const Norv::ModelInstance someOld = myFactory->GetModelInstance("hot.fbx");
	ASSERT_NE(someOld.GetModel(), nullptr);

	Save("hot.fbx", NorvTest::CubeFbx(20.0));
	ASSERT_TRUE(myEngine.RunFramesUntil([&] { return myFactory->GetModel("hot.fbx") != someOld.GetModel(); }));
	EXPECT_NEAR(HalfWidth(myFactory->GetModel("hot.fbx")), 20.0f, 1e-4f);
	EXPECT_NEAR(HalfWidth(someOld.GetModel()), 5.0f, 1e-4f);
	EXPECT_NE(someOld.GetModel()->GetMeshes()[0].myVertexBuffer.Get(), nullptr) << "the old buffers live on with the old instance";
}

TEST_F(ModelHotReload, OnlyTheChangedFilesModelIsDropped)
{
	Save("changed.fbx", NorvTest::CubeFbx(1.0));
	Save("kept.fbx", NorvTest::CubeFbx(2.0));
	const std::shared_ptr<Norv::Model> someChanged = myFactory->GetModel("changed.fbx");
	const std::shared_ptr<Norv::Model> someKept = myFactory->GetModel("kept.fbx");
	ASSERT_NE(someKept, nullptr);

	Save("changed.fbx", NorvTest::CubeFbx(3.0));
	ASSERT_TRUE(myEngine.RunFramesUntil([&] { return myFactory->GetModel("changed.fbx") != someChanged; }));
	EXPECT_EQ(myFactory->GetModel("kept.fbx"), someKept);
}

TEST_F(ModelHotReload, AHalfWrittenFileGivesNoModelUntilItIsWhole)
{
	const std::string someWhole = NorvTest::CubeFbx(4.0);
	Save("mended.fbx", someWhole);
	const std::shared_ptr<Norv::Model> someFirst = myFactory->GetModel("mended.fbx");
	ASSERT_NE(someFirst, nullptr);

	testing::internal::CaptureStderr();
	Save("mended.fbx", someWhole.substr(0, someWhole.size() / 2));
	const bool someIsDropped = myEngine.RunFramesUntil([&] { return myFactory->GetModel("mended.fbx") == nullptr; });
	const std::string someErrors = testing::internal::GetCapturedStderr();
	ASSERT_TRUE(someIsDropped);
	EXPECT_NE(someErrors.find("mended.fbx"), std::string::npos) << someErrors;

	// The file stays watched: mending it brings the model back.
	Save("mended.fbx", NorvTest::CubeFbx(6.0));
	ASSERT_TRUE(myEngine.RunFramesUntil([&] { return myFactory->GetModel("mended.fbx") != nullptr; }));
	EXPECT_NEAR(HalfWidth(myFactory->GetModel("mended.fbx")), 6.0f, 1e-4f);
}

TEST_F(ModelHotReload, AFactoryMadeAgainTakesOverTheWatchOfTheOneDestroyed)
{
	Save("again.fbx", NorvTest::CubeFbx(1.0));
	const std::string someResolved = Norv::Settings::ResolveAssetPath("again.fbx");
	Norv::FileWatcher& someWatcher = *myEngine.Get().GetFileWatcher();
	ASSERT_NE(myFactory->GetModel("again.fbx"), nullptr);
	EXPECT_EQ(someWatcher.GetCallbackCount(someResolved), 1u);

	Norv::ModelFactory::DestroyInstance();
	EXPECT_EQ(someWatcher.GetCallbackCount(someResolved), 0u) << "a dangling callback into the destroyed factory";
	const std::shared_ptr<Norv::Model> someModel = myFactory->GetModel("again.fbx"); // a new factory
	ASSERT_NE(someModel, nullptr);
	EXPECT_EQ(someWatcher.GetCallbackCount(someResolved), 1u);

	// A change reaches the new factory only.
	Save("again.fbx", NorvTest::CubeFbx(2.0));
	ASSERT_TRUE(myEngine.RunFramesUntil([&] { return myFactory->GetModel("again.fbx") != someModel; }));
	EXPECT_NEAR(HalfWidth(myFactory->GetModel("again.fbx")), 2.0f, 1e-4f);
}
