#include "PlayerWorld.h"

#include "world/entities/IPickupAble.h"
#include "world/entities/MushroomEnemy.h"

#include "Support/ImageEncoding.h"
#include "Support/ReadBack.h"

#include "engine/DrawCalls.h"
#include "graphics/Camera.h"
#include "graphics/DX11.h"
#include "graphics/GraphicsEngine.h"
#include "graphics/GraphicsStateStack.h"
#include "graphics/RenderTarget.h"
#include "shell/StateStack.h"

namespace
{
	using NorvTest::PlayerWorldTest;

	constexpr float HURT_TIME = 0.7f; // s
	constexpr float FLOOR_STANDING_Y = 50.0f + 75.0f; // the floor's top plus half the collider

	// A checkpoint as the player sees it: a pickup of type 0.
	class TestCheckpoint : public IPickupAble
	{
	public:
		int GetPickupType() override { return 0; }
	};

	using PlayerHealth = PlayerWorldTest;

	DamageInfo Hit(float aDamage = 1.0f) { return { aDamage, { 300.0f, 400.0f }, "", nullptr }; }

	// 0.7 s counted down by 1/60 s goes below zero on the 42nd frame after the hit.
	TEST_F(PlayerHealth, AHitWithin07SecondsOfTheLastIsIgnoredEntirely)
	{
		Load(NorvTest::FLAT_FLOOR, 70); // past the spawn grace
		P().TakeDamage(Hit());
		EXPECT_FLOAT_EQ(P().myPetals, 4.0f);
		EXPECT_TRUE(P().myIsHurt);
		Step(41);
		ASSERT_TRUE(P().myIsHurt);
		P().myVelocity = {};
		P().TakeDamage(Hit());
		EXPECT_FLOAT_EQ(P().myPetals, 4.0f);
		EXPECT_EQ(P().myVelocity, (Norv::Vector2<float>{}));
		Step(1);
		EXPECT_FALSE(P().myIsHurt);
		P().TakeDamage(Hit());
		EXPECT_FLOAT_EQ(P().myPetals, 3.0f);
	}

	// The grace grows by 1/60 s a frame: sixty such steps fall just short of 1 in single
	// precision, so the 61st frame is the first that takes damage.
	TEST_F(PlayerHealth, DamageIsIgnoredDuringTheFirstSecond)
	{
		Load(NorvTest::FLAT_FLOOR, 60);
		P().TakeDamage(Hit());
		EXPECT_FLOAT_EQ(P().myPetals, 5.0f);
		Step(1);
		P().TakeDamage(Hit());
		EXPECT_FLOAT_EQ(P().myPetals, 4.0f);
	}

	TEST_F(PlayerHealth, FiveHitsKillTheFifthOnlyPlaysTheDeathAndTheCheckpointRespawnsWithFivePetals)
	{
		Load(NorvTest::FLAT_FLOOR, 70);
		TestCheckpoint someCheckpoint;
		someCheckpoint.myPosition = { 700.0f, 300.0f };
		P().OnCollision(someCheckpoint);
		EXPECT_EQ(P().myRespawnPoint, someCheckpoint.myPosition);

		const CameraController& someCamera = myWorld.myState.GetCameraController();
		for (int someHit = 1; someHit <= 4; ++someHit)
		{
			P().TakeDamage(Hit());
			EXPECT_GT(someCamera.myShakeRemaining, 0.0f);
			Step(static_cast<int>(HURT_TIME * 60.0f) + 5);
		}
		ASSERT_FLOAT_EQ(P().myPetals, 1.0f);
		ASSERT_LE(someCamera.myShakeRemaining, 0.0f);
		P().TakeDamage(Hit());
		EXPECT_TRUE(P().myIsDead);
		EXPECT_FALSE(P().myIsHurt);
		EXPECT_LE(someCamera.myShakeRemaining, 0.0f);
		EXPECT_TRUE(P().IsDeathSoundPlayed());
		EXPECT_FALSE(C().IsActive());

		// A corpse takes no more hits: no petals below zero, no push.
		P().myVelocity = {};
		P().TakeDamage(Hit());
		EXPECT_FLOAT_EQ(P().myPetals, 0.0f);
		EXPECT_EQ(P().myVelocity, (Norv::Vector2<float>{}));

		Step(30);
		EXPECT_TRUE(P().myIsDead);
		Step(31);
		EXPECT_FALSE(P().myIsDead);
		EXPECT_FLOAT_EQ(P().myPetals, 5.0f);
		EXPECT_TRUE(C().IsActive());
		EXPECT_FALSE(P().IsDeathSoundPlayed());
		EXPECT_NEAR(P().myPosition.x, 700.0f, 20.0f);
	}

	TEST_F(PlayerHealth, DyingInTheEndingReloadsTheSceneInsteadOfRespawning)
	{
		Load(NorvTest::FLAT_FLOOR, 70);
		myWorld.myState.myScenePath = "scenes/Ending.nvs";
		P().myRespawnPoint = { 700.0f, 300.0f };
		P().Die();
		Step(60);
		ASSERT_TRUE(myWorld.myState.IsLevelLoaded());
		Step(1);
		EXPECT_FALSE(myWorld.myState.IsLevelLoaded());
		EXPECT_EQ(myWorld.myState.GetPendingScenePath(), "scenes/Ending.nvs");
		EXPECT_TRUE(P().myIsDead);
		EXPECT_NE(P().myPosition, P().myRespawnPoint);
	}

	TEST_F(PlayerHealth, FallingBelowMinus30000RespawnsAtOnceWithoutDyingOnTheGroundUnderTheRespawnPoint)
	{
		Load(NorvTest::FLAT_FLOOR);
		P().myRespawnPoint = { 500.0f, 400.0f };
		P().myPosition.y = -30100.0f;
		P().myVelocity = {};
		Step(1);
		EXPECT_EQ(P().myPosition, (Norv::Vector2<float>{ 500.0f, FLOOR_STANDING_Y }));
		EXPECT_FALSE(P().myIsDead);
	}

	// Protection from a hit taken or landed before a fall out of the world does not
	// carry over: the first hit after the respawn protects for the whole 0.7 s.
	TEST_F(PlayerHealth, ARespawnStartsTheNextHitsProtectionAfresh)
	{
		Load(NorvTest::FLAT_FLOOR, 70);
		P().TakeDamage(Hit());
		ASSERT_TRUE(P().myIsHurt);
		Step(30); // 0.2 s of protection left
		P().myPosition.y = -30100.0f;
		Step(1);
		ASSERT_FALSE(P().myIsHurt);
		ASSERT_FLOAT_EQ(P().myPetals, 5.0f);
		P().TakeDamage(Hit());
		ASSERT_FLOAT_EQ(P().myPetals, 4.0f);
		Step(static_cast<int>(HURT_TIME * 60.0f) - 6);
		P().TakeDamage(Hit());
		EXPECT_FLOAT_EQ(P().myPetals, 4.0f) << "the protection ended early";
		Step(10);
		P().TakeDamage(Hit());
		EXPECT_FLOAT_EQ(P().myPetals, 3.0f);
	}

	TEST_F(PlayerHealth, ALandedAttacksProtectionEndsWithARespawn)
	{
		myWorld.LoadAscii({ "          ", "   P  M   ", "##########" }, { { 'P', "Player" }, { 'M', "MushroomEnemy" } });
		Step(70);
		MushroomEnemy* someMushroom = myWorld.myState.FindEntityOfType<MushroomEnemy>();
		ASSERT_NE(someMushroom, nullptr);
		someMushroom->myPosition = P().myPosition + Norv::Vector2<float>{ 150.0f, 0.0f };
		P().Attack(&myWorld.myState.GetTileGrid());
		ASSERT_TRUE(P().IsAttackLanded());
		P().myPosition.y = -30100.0f;
		Step(1);
		EXPECT_FALSE(P().IsAttackLanded());
		const float somePetals = P().myPetals;
		P().TakeDamage(Hit());
		EXPECT_FLOAT_EQ(P().myPetals, somePetals - 1.0f);
	}

	// The player comes back standing on the ground at its respawn point, wherever
	// the point lies against the tiles, and stays there.
	class PlayerRespawn : public PlayerWorldTest
	{
	protected:
		// Respawns with the point given and checks the player stands at anExpected for half a second.
		void ExpectRespawnStandingAt(Norv::Vector2<float> aPoint, Norv::Vector2<float> anExpected)
		{
			P().myRespawnPoint = aPoint;
			P().myPosition = { 0.0f, -40000.0f };
			P().myPetals = 2.0f;
			P().Respawn();
			EXPECT_EQ(P().myPosition, anExpected);
			EXPECT_FLOAT_EQ(P().myPetals, Player::MAX_PETALS);
			Step(30);
			EXPECT_TRUE(IsStanding());
			EXPECT_NEAR(P().myPosition.y, anExpected.y, 0.01f);
			EXPECT_NEAR(P().myPosition.x, anExpected.x, 0.01f);
		}
	};

	const std::vector<std::string> BLOCK_ON_FLOOR = {
		"          ",
		"          ",
		"     #### ",
		"   P #### ",
		"     #### ",
		"##########",
	};
	constexpr float BLOCK_STANDING_Y = 350.0f + 75.0f; // the block's top plus half the collider

	TEST_F(PlayerRespawn, APointInsideSolidTilesRisesToTheirTop)
	{
		Load(BLOCK_ON_FLOOR);
		// Buried deep, and buried by a few units only.
		ExpectRespawnStandingAt({ 700.0f, 150.0f }, { 700.0f, BLOCK_STANDING_Y });
		ExpectRespawnStandingAt({ 700.0f, BLOCK_STANDING_Y - 5.0f }, { 700.0f, BLOCK_STANDING_Y });
		// Half over the block's edge: the collider must clear the tiles beside the column too.
		ExpectRespawnStandingAt({ 480.0f, 200.0f }, { 480.0f, BLOCK_STANDING_Y });
	}

	TEST_F(PlayerRespawn, APointInTheAirDropsOntoTheGroundBelowNotOntoGroundAbove)
	{
		// A ledge over the floor's left half, both within the search's reach of the points
		// under it and the ledge the nearer: the ground below still wins.
		Load({ " ####     ", "          ", "          ", "          ", "          ", "     #### ", "   P #### ", "     #### ", "##########" });
		ExpectRespawnStandingAt({ 200.0f, 560.0f }, { 200.0f, FLOOR_STANDING_Y });
		ExpectRespawnStandingAt({ 300.0f, 300.0f }, { 300.0f, FLOOR_STANDING_Y });
		ExpectRespawnStandingAt({ 700.0f, 900.0f }, { 700.0f, BLOCK_STANDING_Y });
		// Standing exactly on the floor already: it stays.
		ExpectRespawnStandingAt({ 300.0f, FLOOR_STANDING_Y }, { 300.0f, FLOOR_STANDING_Y });
	}

	TEST_F(PlayerRespawn, BeforeAnyCheckpointThePlayerComesBackAtItsStart)
	{
		Load(BLOCK_ON_FLOOR);
		EXPECT_EQ(P().myRespawnPoint, (Norv::Vector2<float>{ 300.0f, 200.0f }));
		ExpectRespawnStandingAt(P().myRespawnPoint, { 300.0f, FLOOR_STANDING_Y });
	}

	TEST_F(PlayerRespawn, WithNoGroundInReachThePointItselfIsKept)
	{
		Load({ "   P   ", "       ", "       ", "       ", "       ", "       ", "       ", "       ", "       ", "       ", "       ",
			"       ", "       ", "       ", "#######" });
		P().myRespawnPoint = { 300.0f, 1400.0f };
		P().Respawn();
		EXPECT_EQ(P().myPosition, P().myRespawnPoint);
	}

	TEST_F(PlayerHealth, AnAbilityPickupGrantsItsAbilityAndIsRemoved)
	{
		Load(NorvTest::FLAT_FLOOR);
		DashPickup somePickup;
		P().OnCollision(somePickup);
		EXPECT_TRUE(AbilityFlags[Ability::DASH]);
		EXPECT_FALSE(AbilityFlags[Ability::CLIMB]);
		EXPECT_TRUE(somePickup.myShouldRemove);
	}

	using PlayerAttack = PlayerWorldTest;

	TEST_F(PlayerAttack, UpWinsOverDownAndGivesABoxTwiceTheColliderWideAnd200Higher)
	{
		Load(NorvTest::FLAT_FLOOR);
		Step(1, { { InputAction::Up, InputAction::Down } });
		P().Attack(&myWorld.myState.GetTileGrid());
		ASSERT_TRUE(P().IsAttacking());
		EXPECT_EQ(P().myAttackDirection, 1);
		EXPECT_FLOAT_EQ(P().GetAttackBox().w, 2.0f * 96.0f);
		EXPECT_FLOAT_EQ(P().GetAttackBox().y, P().myPosition.y + 200.0f);
		EXPECT_FLOAT_EQ(P().GetAttackBox().x, P().myPosition.x + 60.0f);
		ASSERT_EQ(myWorld.myState.myDebugHitBoxes.size(), 1u);
		// While it runs the box follows the player, 100 above it.
		Step(1, { { InputAction::Up } });
		EXPECT_FLOAT_EQ(myWorld.myState.myDebugHitBoxes.front().y, P().myPosition.y + 100.0f);
		Step(30);
		EXPECT_FALSE(P().IsAttacking());
		EXPECT_TRUE(myWorld.myState.myDebugHitBoxes.empty());

		// Down: as wide, 200 below, then following 100 below.
		Step(1, { { InputAction::Down } });
		P().Attack(&myWorld.myState.GetTileGrid());
		ASSERT_TRUE(P().IsAttacking());
		EXPECT_EQ(P().myAttackDirection, 2);
		EXPECT_FLOAT_EQ(P().GetAttackBox().w, 2.0f * 96.0f);
		EXPECT_FLOAT_EQ(P().GetAttackBox().y, P().myPosition.y - 200.0f);
		EXPECT_FLOAT_EQ(P().GetAttackBox().x, P().myPosition.x + 60.0f);
		Step(1, { { InputAction::Down } });
		EXPECT_FLOAT_EQ(myWorld.myState.myDebugHitBoxes.front().y, P().myPosition.y - 100.0f);
	}

	using PlayerHud = PlayerWorldTest;

	TEST_F(PlayerHud, TheHeadUpDisplayDrawsTheBudAndOnePetalPerPetalLeft)
	{
		Load(NorvTest::FLAT_FLOOR);
		for (const auto& [somePetals, someDraws] : { std::pair{ 5.0f, 6u }, std::pair{ 2.5f, 4u }, std::pair{ 0.0f, 1u } })
		{
			P().myPetals = somePetals;
			const std::uint32_t someBefore = Norv::DrawCalls::GetCurrentFrameCount();
			P().DrawHud();
			EXPECT_EQ(Norv::DrawCalls::GetCurrentFrameCount() - someBefore, someDraws) << somePetals << " petals";
		}
	}

	// The first petal is drawn half over the bud: with the depth buffer bound, as in the
	// interface pass, it must still show whole over the bud.
	TEST_F(PlayerHud, APetalLiesWholeOverTheBudItOverlaps)
	{
		constexpr int EDGE = 64; // texels of every HUD image here
		// Green and magenta read the same in either byte order of the buffer.
		const std::string someBud = NorvTest::EncodePng(EDGE, EDGE, NorvTest::SolidPixels(EDGE, EDGE, { 0, 255, 0, 255 }));
		const std::string somePetal = NorvTest::EncodePng(EDGE, EDGE, NorvTest::SolidPixels(EDGE, EDGE, { 255, 0, 255, 255 }));
		myWorld.Folder().Write("game/UI/Blomknopp.png", someBud);
		for (const char* someName : { "Petal_1", "Petal_2", "Petal_3", "Petal_4", "Petal_5" })
			myWorld.Folder().Write(std::string("game/UI/") + someName + ".png", somePetal);
		Load(NorvTest::FLAT_FLOOR);
		P().myPetals = 0.5f;

		Norv::DX11* someDevice = myWorld.myEngine.Get().GetDX11();
		someDevice->Clear(Norv::Color(0.0f, 0.0f, 0.0f, 1.0f));
		Norv::DX11::ourBackBuffer->SetAsActiveTarget(Norv::DX11::ourDepthBuffer);
		const Norv::Vector2<unsigned int> someSize = someDevice->GetBackBufferSize();
		Norv::Camera someCamera;
		someCamera.SetOrthographicProjection(0.0f, static_cast<float>(someSize.x), 0.0f, static_cast<float>(someSize.y), StateStack::INTERFACE_NEAR_PLANE,
			StateStack::INTERFACE_FAR_PLANE);
		someCamera.myTransform.SetTranslation({ 0.0f, 0.0f, StateStack::INTERFACE_CAMERA_Z });
		Norv::GraphicsStateStack* someStates = Norv::GraphicsEngine::GetStateStack();
		someStates->Push();
		someStates->SetCamera(someCamera);
		P().DrawHud();
		someStates->Pop();

		Microsoft::WRL::ComPtr<ID3D11Texture2D> someBuffer;
		Norv::DX11::ourSwapChain->GetBuffer(0, someBuffer.GetAddressOf());
		const std::vector<std::uint8_t> someBytes = NorvTest::ReadBackTexture(Norv::DX11::ourDevice, Norv::DX11::ourContext, someBuffer.Get());
		int somePetalTexels = 0;
		int someBudTexels = 0;
		for (std::size_t someIndex = 0; someIndex + 3 < someBytes.size(); someIndex += 4)
		{
			const bool someOuterFull = someBytes[someIndex] > 240 && someBytes[someIndex + 2] > 240;
			const bool someOuterEmpty = someBytes[someIndex] < 16 && someBytes[someIndex + 2] < 16;
			if (someOuterFull && someBytes[someIndex + 1] < 16)
				++somePetalTexels;
			else if (someOuterEmpty && someBytes[someIndex + 1] > 240)
				++someBudTexels;
		}
		EXPECT_NEAR(somePetalTexels, EDGE * EDGE, 2 * EDGE);
		EXPECT_NEAR(someBudTexels, EDGE * EDGE / 2, 2 * EDGE) << "the half of the bud the petal leaves";
	}
}
