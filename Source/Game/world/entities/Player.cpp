#include "world/entities/Player.h"

#include "world/AbilityFlags.h"
#include "world/GameState.h"
#include "world/StandingPlace.h"
#include "world/TileCollisionGrid.h"
#include "world/effects/FlipbookVFX.h"
#include "world/entities/BookShowcase.h"
#include "world/entities/BossTrigger.h"
#include "world/entities/Destructibles.h"
#include "world/entities/EndingTrigger.h"
#include "world/entities/FlowerPlatform.h"
#include "world/entities/FlyingEnemy.h"
#include "world/entities/IPickupAble.h"
#include "world/entities/Lever.h"
#include "world/entities/MushroomEnemy.h"
#include "world/entities/PatrollingEnemy.h"

#include "media/AudioManager.h"
#include "media/VideoOverlay.h"
#include "shell/InputMapper.h"

#include "drawers/LineDrawer.h"
#include "drawers/SpriteDrawer.h"
#include "engine/Engine.h"
#include "graphics/DX11.h"
#include "graphics/GraphicsEngine.h"
#include "graphics/RenderTarget.h"
#include "graphics/Texture.h"
#include "graphics/TextureManager.h"
#include "sound/Audio.h"
#include "video/Video.h"

#include <algorithm>
#include <iostream>
#include <optional>
#include <vector>

namespace
{
	constexpr float YAW_OFFSET = 25.0f;          // degrees the model turns away from side-on
	constexpr float SIDE_YAW = 90.0f;            // degrees
	constexpr float MODEL_PITCH = 90.0f;         // degrees
	constexpr float MODEL_ROLL = -180.0f;        // degrees
	constexpr float SPAWN_GRACE = 1.0f;          // s after construction without damage
	constexpr float RESPAWN_DELAY = 1.0f;        // s from death to respawn
	constexpr float HURT_TIME = 0.7f;            // s a hit (taken or landed) protects
	constexpr float ATTACK_TIME = 0.4f;          // s an attack lasts
	constexpr float ATTACK_STICK = 0.707f;       // stick y beyond which an attack goes up or down
	constexpr float ATTACK_SIDE_SHIFT = 120.0f;  // units, sideways attack box
	constexpr float ATTACK_VERTICAL_SHIFT = 200.0f; // units, up or down attack box
	constexpr float ATTACK_DIAGONAL_SHIFT = 60.0f;  // units sideways of an up or down box
	constexpr float FOLLOW_SIDE_SHIFT = 100.0f;  // units, the running attack box
	constexpr float FOLLOW_VERTICAL_SHIFT = 100.0f; // units
	constexpr float UP_LEFT_EFFECT_SHIFT = 450.0f;  // units
	constexpr float UP_EFFECT_RAISE = 100.0f;    // units
	constexpr float EFFECT_Z = -50.0f;
	constexpr float TILE_SIZE = 100.0f;          // units
	constexpr float HURT_SHAKE_TIME = 0.4f;      // s
	constexpr float HURT_SHAKE_STRENGTH = 25.0f; // units
	constexpr float RESPAWN_MARK_SIZE = 50.0f;   // units
	constexpr int RESPAWN_SEARCH_ROWS = 10;      // tiles up or down from the respawn point to find ground
	constexpr Norv::Vector2<float> HUD_ANCHOR{ 0.1f, 0.9f }; // of the render size
	constexpr float HEDGEHOG_HIT_PUSH = 1000.0f;  // units/s along the line to a struck hedgehog
	constexpr float DASH_HIT_PUSH = 600.0f;       // units/s, a hedgehog struck by a dash-slash
	constexpr float HIT_LIFT = 500.0f;            // units/s upward added to either
	constexpr float HEDGEHOG_CONTACT_PUSH = 300.0f; // units/s away from a hedgehog touched
	constexpr float MUSHROOM_HIT_PUSH = 600.0f;   // units/s along the line to a struck mushroom
	constexpr float WASP_HIT_PUSH = 3200.0f;      // units/s along the line to a struck wasp
	constexpr float CRYSTAL_HIT_DAMAGE = 1.0f;    // a crystal breaks at any hit

	constexpr int EFFECT_IDS[Player::EFFECT_COUNT] = { 14, 15, 16, 16, 17, 18, 13 };
	constexpr const char* HUD_IMAGES[Player::HUD_IMAGE_COUNT] = { "UI/Petal_1.png", "UI/Petal_2.png", "UI/Petal_3.png",
		"UI/Petal_4.png", "UI/Petal_5.png", "UI/Blomknopp.png" };
	constexpr int BLOMKNOPP = 5;

	void PlaySound(Norv::Audio* aSound)
	{
		if (aSound)
		{
			aSound->Play();
		}
	}

	bool IsCutscenePlaying()
	{
		VideoOverlay& someOverlay = VideoOverlay::GetInstance();
		return someOverlay.IsActive() && someOverlay.GetState() == Norv::Video::STATE_PLAYING;
	}

	// A hit from aFrom: aPush along the unit line to the target ((0, 0) when the
	// centres coincide), lifted by HIT_LIFT.
	DamageInfo HitFrom(Norv::Vector2<float> aFrom, const Entity& aTarget, float aPush)
	{
		const Norv::Vector2<float> someLine = (aTarget.myPosition - aFrom).GetNormalized();
		return { 1.0f, { someLine.x * aPush, someLine.y * aPush + HIT_LIFT }, "", nullptr };
	}

	// The enemies of type T inside the box that still live. A corpse (even one
	// killed earlier in this frame, its collider not yet shrunk) takes no hit and
	// lands no attack, so striking it grants no protection.
	template <typename T>
	std::vector<Entity*> LivingTargets(const TileCollisionGrid& aGrid, const TileBox& aBox)
	{
		std::vector<Entity*> someFound = aGrid.GetOverlappingEntitiesOfType<T>(aBox);
		std::erase_if(someFound, [](const Entity* anEnemy) { return anEnemy->myIsDead; });
		return someFound;
	}
}

Player::Player()
	: myYawOffset(YAW_OFFSET)
	, myRespawnDelay(RESPAWN_DELAY)
	, myHurtTimer(HURT_TIME)
{
	myColliderSize = COLLIDER_SIZE;
	myRotation.y = SIDE_YAW - YAW_OFFSET;
	myController.Init(this);
	myAnimator.Init(this);
	for (int someIndex = 0; someIndex < EFFECT_COUNT; ++someIndex)
	{
		myEffects[someIndex] = std::make_unique<FlipbookVFX>();
		myEffects[someIndex]->Init(EFFECT_IDS[someIndex]);
	}
	Norv::TextureManager* someTextures = Norv::TextureManager::GetCurrent();
	for (int someIndex = 0; someIndex < HUD_IMAGE_COUNT; ++someIndex)
	{
		Norv::Texture* someTexture = someTextures ? someTextures->TryGetTexture(HUD_IMAGES[someIndex], Norv::TEXTURE_MODE_FORCE_SRGB) : nullptr;
		if (!someTexture && someIndex == BLOMKNOPP)
		{
			std::cout << "ERROR: Failed to load Blomknopp.png!" << std::endl;
		}
		if (!someTexture && someTextures)
		{
			someTexture = someTextures->GetTexture(HUD_IMAGES[someIndex], Norv::TEXTURE_MODE_FORCE_SRGB);
		}
		myHudImages[someIndex].myColorTexture = someTexture;
	}
}

Player::~Player() = default;

bool Player::IsBelowWorld(float aHeight)
{
	return aHeight / TILE_SIZE < FALL_OUT_TILES;
}

void Player::Init(FrameContext& aContext)
{
	myContext = &aContext;
	// Until a checkpoint is touched the player comes back where the level put it.
	myRespawnPoint = myPosition;
	myRotation.x = MODEL_PITCH;
	myRotation.z = MODEL_ROLL;
}

void Player::FetchSounds()
{
	if (mySounds[ATTACK_SOUND])
	{
		return;
	}
	mySounds = { AudioManager::GetPlayerAttackRegular4(), AudioManager::GetPlayerDamage1(), AudioManager::GetPlayerDeathFallBackwards(),
		AudioManager::GetPlayerItemPickUp3() };
}

void Player::Update(FrameContext& aContext)
{
	const float someDeltaTime = aContext.deltaTime;
	myContext = &aContext;
	FetchSounds();
	myController.Update(aContext);
	myAnimator.Update(someDeltaTime);
	mySpawnGrace = std::min(SPAWN_GRACE, mySpawnGrace + someDeltaTime);
	UpdateEffects(aContext);
	UpdateTurning();

	if (myIsHurt || myAttackLanded)
	{
		myHurtTimer -= someDeltaTime;
		if (myHurtTimer < 0.0f)
		{
			myIsHurt = false;
			myAttackLanded = false;
			myHurtTimer = HURT_TIME;
		}
	}
	if (aContext.input && aContext.input->IsPressed(InputAction::Attack) && !IsCutscenePlaying())
	{
		Attack(aContext.grid);
	}
	UpdateAttack(aContext);

	if (myIsDead)
	{
		// A dead player stops but still falls, so one that dies in the air (or on a
		// wall) comes down instead of hanging there.
		myDeathTimer += someDeltaTime;
		myVelocity.x = 0.0f;
		myVelocity.y = std::min(myVelocity.y, 0.0f);
	}
	if (myDeathTimer >= myRespawnDelay)
	{
		GameState* someGame = aContext.gameState;
		if (someGame && someGame->myScenePath == "scenes/Ending.nvs")
		{
			someGame->ChangeScene(someGame->myScenePath);
		}
		else
		{
			Respawn();
		}
	}
	if (IsBelowWorld(myPosition.y))
	{
		Respawn();
	}
}

void Player::UpdateEffects(FrameContext& aContext)
{
	const Norv::Vector3<float> someAnchors[EFFECT_COUNT] = {
		{},
		{},
		{ myPosition.x, myPosition.y + UP_EFFECT_RAISE, EFFECT_Z },
		{ myPosition.x + UP_LEFT_EFFECT_SHIFT, myPosition.y + UP_EFFECT_RAISE, EFFECT_Z },
		{ myPosition.x, myPosition.y, EFFECT_Z },
		{ myPosition.x, myPosition.y, EFFECT_Z },
		{},
	};
	for (int someIndex = 0; someIndex < EFFECT_COUNT; ++someIndex)
	{
		myEffects[someIndex]->Update(aContext, someAnchors[someIndex]);
	}
}

void Player::UpdateTurning()
{
	if (myFacing == 1 && myIsTurnedLeft)
	{
		myRotation.y = SIDE_YAW - myYawOffset;
		myIsTurnedLeft = false;
	}
	else if (myFacing == -1 && !myIsTurnedLeft)
	{
		myRotation.y = myYawOffset - SIDE_YAW;
		myIsTurnedLeft = true;
	}
}

void Player::UpdateAttack(FrameContext& aContext)
{
	if (!myIsAttacking)
	{
		return;
	}
	myAttackTimer += aContext.deltaTime;
	myAttackBox.x = myPosition.x;
	myAttackBox.y = myPosition.y;
	const InputMapper* someInput = aContext.input;
	const float someSide = myFacing == 1 ? 1.0f : -1.0f;
	if (someInput && someInput->IsDown(InputAction::Up))
	{
		myAttackBox.y += FOLLOW_VERTICAL_SHIFT;
		myAttackBox.x += someSide * ATTACK_DIAGONAL_SHIFT;
	}
	else if (someInput && someInput->IsDown(InputAction::Down))
	{
		myAttackBox.y -= FOLLOW_VERTICAL_SHIFT;
		myAttackBox.x += someSide * ATTACK_DIAGONAL_SHIFT;
	}
	else
	{
		myAttackBox.x += someSide * FOLLOW_SIDE_SHIFT;
	}
	GameState* someGame = aContext.gameState;
	if (someGame && !someGame->myDebugHitBoxes.empty())
	{
		someGame->myDebugHitBoxes.front() = { myAttackBox.x, myAttackBox.y, myAttackBox.w, myAttackBox.h };
	}
	// A dash-slash strikes the hedgehogs it passes, once per landed attack.
	if (AbilityFlags[Ability::DASH_SLASH] && myController.IsDashing() && !myAttackLanded && aContext.grid)
	{
		for (Entity* someEnemy : LivingTargets<PatrollingEnemy>(*aContext.grid, myAttackBox))
		{
			someEnemy->TakeDamage(HitFrom(myPosition, *someEnemy, DASH_HIT_PUSH));
			myAttackLanded = true;
		}
	}
	if (myAttackTimer >= ATTACK_TIME)
	{
		myAttackTimer = 0.0f;
		myIsAttacking = false;
		if (someGame)
		{
			someGame->myDebugHitBoxes.clear();
		}
	}
}

void Player::PlayEffect(Effect anEffect, const Norv::Vector3<float>& aPosition, float aDirection)
{
	myEffects[anEffect]->Stop();
	myEffects[anEffect]->PlayAt(aPosition, aDirection);
}

void Player::Attack(TileCollisionGrid* aGrid)
{
	if (myIsAttacking || myIsHurt || myIsDead || !myCanAttack)
	{
		return;
	}
	myIsAttacking = true;
	if (!myController.IsDashing())
	{
		PlaySound(mySounds[ATTACK_SOUND]);
	}
	myAttackBox = { myPosition.x, myPosition.y, 3.0f * myColliderSize.x, 2.0f * myColliderSize.y };
	myAttackDirection = 0;

	const InputMapper* someInput = myContext ? myContext->input : nullptr;
	const float someStickY = someInput ? someInput->GetLeftStick().y : 0.0f;
	const bool someUp = (someInput && someInput->IsDown(InputAction::Up)) || someStickY > ATTACK_STICK;
	const bool someDown = (someInput && someInput->IsDown(InputAction::Down)) || someStickY < -ATTACK_STICK;
	const bool someRight = myFacing == 1;
	const Norv::Vector3<float> someAtPlayer{ myPosition.x, myPosition.y, EFFECT_Z };
	if (someUp)
	{
		myAttackDirection = 1;
		myAttackBox.w = 2.0f * myColliderSize.x;
		myAttackBox.y += ATTACK_VERTICAL_SHIFT;
		if (someRight)
		{
			PlayEffect(ATTACK_UP_RIGHT, { myPosition.x, myPosition.y + UP_EFFECT_RAISE, EFFECT_Z }, 1.0f);
			myAttackBox.x += ATTACK_DIAGONAL_SHIFT;
		}
		else
		{
			PlayEffect(ATTACK_UP_LEFT, { myPosition.x + UP_LEFT_EFFECT_SHIFT, myPosition.y + UP_EFFECT_RAISE, EFFECT_Z }, -1.0f);
			myAttackBox.x -= ATTACK_DIAGONAL_SHIFT;
		}
	}
	else if (someDown)
	{
		myAttackDirection = 2;
		myAttackBox.w = 2.0f * myColliderSize.x;
		myAttackBox.y -= ATTACK_VERTICAL_SHIFT;
		PlayEffect(someRight ? ATTACK_DOWN_RIGHT : ATTACK_DOWN_LEFT, someAtPlayer, someRight ? 1.0f : -1.0f);
		myAttackBox.x += someRight ? ATTACK_DIAGONAL_SHIFT : -ATTACK_DIAGONAL_SHIFT;
	}
	else
	{
		PlayEffect(someRight ? ATTACK_RIGHT : ATTACK_LEFT, someAtPlayer, someRight ? 1.0f : -1.0f);
		myAttackBox.x += someRight ? ATTACK_SIDE_SHIFT : -ATTACK_SIDE_SHIFT;
	}
	if (myContext && myContext->gameState)
	{
		myContext->gameState->myDebugHitBoxes.push_back({ myAttackBox.x, myAttackBox.y, myAttackBox.w, myAttackBox.h });
	}
	if (aGrid)
	{
		HitTargets(*aGrid);
	}
}

void Player::HitTargets(const TileCollisionGrid& aGrid)
{
	bool someEnemyHit = false;
	for (Entity* someEnemy : LivingTargets<PatrollingEnemy>(aGrid, myAttackBox))
	{
		someEnemy->TakeDamage(HitFrom(myPosition, *someEnemy, HEDGEHOG_HIT_PUSH));
		myAttackLanded = true;
		someEnemyHit = true;
	}
	for (Entity* someEnemy : LivingTargets<MushroomEnemy>(aGrid, myAttackBox))
	{
		someEnemy->TakeDamage(HitFrom(myPosition, *someEnemy, MUSHROOM_HIT_PUSH));
		myAttackLanded = true;
		someEnemyHit = true;
	}
	for (Entity* someEnemy : LivingTargets<FlyingEnemy>(aGrid, myAttackBox))
	{
		// The wasp charges whoever strikes it: the hit names this player.
		someEnemy->TakeDamage({ 1.0f, (someEnemy->myPosition - myPosition).GetNormalized() * WASP_HIT_PUSH, "", this });
		someEnemyHit = true;
	}
	if (someEnemyHit && myController.IsDashing())
	{
		myController.OnDashAttackLanded();
	}
	// Levers, flowers and crystals answer to the player's strikes once it has a frame context.
	if (!myContext)
	{
		return;
	}
	for (Entity* someLever : aGrid.GetOverlappingEntitiesOfType<Lever>(myAttackBox))
	{
		someLever->TakeDamage({ 0.0f, {}, "", this });
	}
	for (Entity* someFlower : aGrid.GetOverlappingEntitiesOfType<FlowerPlatform>(myAttackBox))
	{
		someFlower->TakeDamage({ 0.0f, {}, "", nullptr });
	}
	for (Entity* someCrystal : aGrid.GetOverlappingEntitiesOfType<Destructibles>(myAttackBox))
	{
		someCrystal->TakeDamage({ CRYSTAL_HIT_DAMAGE, {}, "", nullptr });
	}
}

void Player::OnCollision(Entity& anOther)
{
	if (const PatrollingEnemy* someEnemy = dynamic_cast<const PatrollingEnemy*>(&anOther))
	{
		// A corpse pushes nobody.
		if (!someEnemy->myIsDead)
		{
			myVelocity += (myPosition - someEnemy->myPosition).GetNormalized() * HEDGEHOG_CONTACT_PUSH;
		}
		return;
	}
	if (BossTrigger* someBossTrigger = dynamic_cast<BossTrigger*>(&anOther))
	{
		someBossTrigger->myIsTriggered = true;
		return;
	}
	if (EndingTrigger* someEnding = dynamic_cast<EndingTrigger*>(&anOther))
	{
		someEnding->myIsTriggered = true;
		return;
	}
	IPickupAble* somePickup = dynamic_cast<IPickupAble*>(&anOther);
	if (!somePickup)
	{
		return;
	}
	const int someType = somePickup->GetPickupType();
	if (someType >= 1 && someType <= 4)
	{
		AbilityFlags[static_cast<std::size_t>(myAbilityIndex[static_cast<std::size_t>(someType - 1)])] = true;
		somePickup->OnPickedUp();
		PlaySound(mySounds[PICKUP_SOUND]);
		// Without a showcase in the level the ability is granted silently.
		GameState* someGame = myContext ? myContext->gameState : nullptr;
		if (BookShowcase* someShowcase = someGame ? someGame->FindEntityOfType<BookShowcase>() : nullptr)
		{
			someShowcase->Show(someType);
		}
		somePickup->myShouldRemove = true;
	}
	else if (someType == 0)
	{
		myRespawnPoint = somePickup->myPosition;
		somePickup->OnPickedUp();
	}
}

void Player::TakeDamage(DamageInfo anInfo)
{
	// A dead player takes no hits until it respawns: its petals stay at zero and nothing pushes the corpse.
	if (myIsDead || myIsHurt || myAttackLanded || mySpawnGrace < SPAWN_GRACE)
	{
		return;
	}
	myPetals -= anInfo.damage;
	myVelocity = anInfo.knockback;
	if (myPetals <= 0.0f)
	{
		Die();
		return;
	}
	PlaySound(mySounds[DAMAGE_SOUND]);
	if (myContext && myContext->gameState)
	{
		myContext->gameState->GetCameraController().Shake(HURT_SHAKE_TIME, HURT_SHAKE_STRENGTH);
	}
	myIsHurt = true;
	myEffects[DAMAGED]->PlayAt({ myPosition.x, myPosition.y, 0.0f }, 1.0f);
}

void Player::Die()
{
	Entity::Die();
	myController.SetActive(false);
	if (!myDeathSoundPlayed)
	{
		PlaySound(mySounds[DEATH_SOUND]);
		myDeathSoundPlayed = true;
	}
}

void Player::Respawn()
{
	myDeathTimer = 0.0f;
	// No protection carries over: a hit taken or landed before falling out or
	// dying must not shorten or extend the next one's.
	myIsHurt = false;
	myAttackLanded = false;
	myHurtTimer = HURT_TIME;
	myIsDead = false;
	myDeathSoundPlayed = false;
	myController.SetActive(true);
	myVelocity *= 0.0f;
	myPosition = myRespawnPoint;
	// A checkpoint's centre may lie inside the ground it sits on or above it: the
	// player comes back standing on the ground there.
	if (const TileCollisionGrid* someGrid = myContext ? myContext->grid : nullptr)
	{
		const TileBox someBox{ myRespawnPoint.x, myRespawnPoint.y, myColliderSize.x, myColliderSize.y };
		if (const std::optional<Norv::Vector2<float>> somePlace = FindStandingPlace(*someGrid, someBox, RESPAWN_SEARCH_ROWS))
			myPosition = *somePlace;
	}
	myPetals = MAX_PETALS;
}

void Player::LateRender()
{
	myController.RenderEffects();
	for (const Effect someEffect : { DAMAGED, ATTACK_RIGHT, ATTACK_LEFT, ATTACK_UP_RIGHT, ATTACK_UP_LEFT, ATTACK_DOWN_RIGHT, ATTACK_DOWN_LEFT })
	{
		myEffects[someEffect]->Render();
	}
}

void Player::DebugRender()
{
	Norv::Engine* someEngine = Norv::Engine::GetInstance();
	Norv::LineDrawer* someLines = someEngine && someEngine->GetGraphicsEngine() ? someEngine->GetGraphicsEngine()->GetLineDrawer() : nullptr;
	if (!someLines)
	{
		return;
	}
	constexpr int BOX_COUNT = 4;
	constexpr int LINE_COUNT = BOX_COUNT * 4 + 2;
	const Norv::Vector4<float> GREEN{ 0.0f, 1.0f, 0.0f, 1.0f };
	const Norv::Vector4<float> CYAN{ 0.0f, 1.0f, 1.0f, 1.0f };
	std::array<Norv::Vector4<float>, LINE_COUNT> someColors;
	std::array<Norv::Vector3<float>, LINE_COUNT> someFrom;
	std::array<Norv::Vector3<float>, LINE_COUNT> someTo;
	std::size_t someCount = 0;
	const auto AddLine = [&](Norv::Vector3<float> aFrom, Norv::Vector3<float> aTo, const Norv::Vector4<float>& aColor) {
		someFrom[someCount] = aFrom;
		someTo[someCount] = aTo;
		someColors[someCount] = aColor;
		++someCount;
	};
	const auto AddBox = [&](const TileBox& aBox) {
		const float l = aBox.x - aBox.w / 2.0f, r = aBox.x + aBox.w / 2.0f, b = aBox.y - aBox.h / 2.0f, t = aBox.y + aBox.h / 2.0f;
		AddLine({ l, b, 0.0f }, { r, b, 0.0f }, GREEN);
		AddLine({ r, b, 0.0f }, { r, t, 0.0f }, GREEN);
		AddLine({ r, t, 0.0f }, { l, t, 0.0f }, GREEN);
		AddLine({ l, t, 0.0f }, { l, b, 0.0f }, GREEN);
	};
	if (myIsAttacking)
	{
		AddBox(myAttackBox);
	}
	AddBox(myController.GetLeftSensor());
	AddBox(myController.GetRightSensor());
	AddBox(myController.GetGroundSensor());
	const float h = RESPAWN_MARK_SIZE / 2.0f;
	const Norv::Vector2<float>& p = myRespawnPoint;
	AddLine({ p.x - h, p.y - h, 0.0f }, { p.x + h, p.y + h, 0.0f }, CYAN);
	AddLine({ p.x - h, p.y + h, 0.0f }, { p.x + h, p.y - h, 0.0f }, CYAN);
	someLines->Draw({ someColors.data(), someFrom.data(), someTo.data(), someCount });
}

void Player::RenderUI()
{
	if (!IsCutscenePlaying())
	{
		DrawHud();
	}
}

void Player::DrawHudSprite(const Norv::SpriteSharedData& anImage, const Norv::Vector2<float>& aPosition)
{
	Norv::Engine* someEngine = Norv::Engine::GetInstance();
	Norv::SpriteDrawer* someDrawer = someEngine && someEngine->GetGraphicsEngine() ? someEngine->GetGraphicsEngine()->GetSpriteDrawer() : nullptr;
	if (!someDrawer)
	{
		return;
	}
	myHudSprite.myPosition = aPosition;
	Norv::SpriteBatchScope someBatch = someDrawer->BeginBatch(anImage);
	someBatch.Draw(myHudSprite);
}

void Player::DrawHud()
{
	Norv::Engine* someEngine = Norv::Engine::GetInstance();
	if (!someEngine)
	{
		return;
	}
	const Norv::Vector2<float> someRenderSize(someEngine->GetRenderSize());
	const float cx = HUD_ANCHOR.x * someRenderSize.x;
	const float cy = HUD_ANCHOR.y * someRenderSize.y;
	const auto SizeOf = [](const Norv::SpriteSharedData& anImage) {
		return anImage.myColorTexture ? Norv::Vector2<float>(anImage.myColorTexture->mySize) : Norv::Vector2<float>();
	};
	// The petals overlap the bud and each other, all at one depth: with the depth
	// buffer each quad, transparent corners included, would hide the later ones.
	// Drawn without it each lies over those before; the interface pass's depth
	// buffer is bound again afterwards.
	struct DepthOff
	{
		DepthOff() { SetDepth(false); }
		~DepthOff() { SetDepth(true); }
		static void SetDepth(bool anIsOn)
		{
			if (Norv::DX11::ourBackBuffer)
				Norv::DX11::ourBackBuffer->SetAsActiveTarget(anIsOn ? Norv::DX11::ourDepthBuffer : nullptr);
		}
	} someDepthOff;

	myHudSprite.mySize = SizeOf(myHudImages[BLOMKNOPP]);
	DrawHudSprite(myHudImages[BLOMKNOPP], { cx - 5.0f, cy + 5.0f });

	const Norv::Vector2<float> somePetal = SizeOf(myHudImages[0]);
	const float pw = somePetal.x, ph = somePetal.y;
	myHudSprite.mySize = somePetal;
	struct PetalPlace
	{
		float myAbove;
		int myImage;
		Norv::Vector2<float> myPosition;
	};
	const PetalPlace somePlaces[] = {
		{ 0.0f, 4, { cx - 5.0f, cy + 5.0f + ph / 2.0f } },
		{ 1.0f, 0, { cx - 15.0f + pw / 2.0f, cy - 5.0f + ph / 2.0f } },
		{ 2.0f, 2, { cx - 5.0f - pw / 2.0f, cy + 15.0f - ph / 2.0f } },
		{ 3.0f, 1, { cx - 25.0f + pw / 2.0f, cy + 20.0f - ph / 2.0f } },
		{ 4.0f, 3, { cx - 5.0f - pw / 2.0f, cy - 5.0f + ph / 2.0f } },
	};
	for (const PetalPlace& somePlace : somePlaces)
	{
		if (myPetals > somePlace.myAbove)
		{
			DrawHudSprite(myHudImages[static_cast<std::size_t>(somePlace.myImage)], somePlace.myPosition);
		}
	}
}
