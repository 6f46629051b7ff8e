#include "world/CameraController.h"

#include "shell/GameRandom.h"
#include "world/entities/Entity.h"

#include "graphics/Camera.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace
{
	constexpr float FOLLOW_Z_TOLERANCE = 0.01f;
	constexpr int SHAKE_RANGE = 200; // offsets step in hundredths of the amplitude, -100 to 99

	Norv::Vector2<float> Lerp(Norv::Vector2<float> aFrom, Norv::Vector2<float> aTo, float aT)
	{
		return { std::lerp(aFrom.x, aTo.x, aT), std::lerp(aFrom.y, aTo.y, aT) };
	}

	// Above the maximum gives the maximum, else the larger of the minimum and the value.
	float ClampToBounds(float aValue, float aMin, float aMax)
	{
		return aValue > aMax ? aMax : std::max(aMin, aValue);
	}
}

float EaseInOutCubic(float aT)
{
	const float someT = std::clamp(aT, 0.0f, 1.0f);
	if (someT < 0.5f)
		return 4.0f * someT * someT * someT;
	const float someRest = 2.0f - 2.0f * someT;
	return 1.0f - someRest * someRest * someRest / 2.0f;
}

void CameraController::SetPlayer(Entity* aPlayer)
{
	myPlayer = aPlayer;
	if (!myPlayer)
		return;
	myFollowPosition = myPlayer->myPosition;
	SetCameraTranslation(myFollowPosition + myShakeOffset, myStartZ);
}

void CameraController::Shake(float aDuration, float aStrength)
{
	myShakeDuration = aDuration;
	myShakeRemaining = aDuration;
	myShakeStrength = aStrength;
}

void CameraController::StartPan(Norv::Vector2<float> aTarget)
{
	myFollowPosition = GetCameraPosition();
	myPanStart = myFollowPosition;
	myPanTarget = aTarget;
	myPanDuration = (aTarget - myPanStart).Length() / PAN_SPEED;
	myPanElapsed = 0.0f;
	// A pan takes over a running return, which must start afresh when it comes back.
	myReturnPending = true;
}

void CameraController::StartLevelGlide()
{
	myMode = RETURN_TO_PLAYER;
	myReturnPending = true;
}

void CameraController::PanTo(Norv::Vector2<float> aTarget, float aHold)
{
	StartPan(aTarget);
	myPanHold = aHold;
	myPanEased = true;
	myMode = PAN_AND_RETURN;
}

void CameraController::PanToAndZoom(Norv::Vector2<float> aTarget, float aZoomZ)
{
	StartPan(aTarget);
	myZoomStartZ = myCamera ? myCamera->myTransform.GetTranslation().z : 0.0f;
	myCurrentZ = myZoomStartZ;
	myZoomTargetZ = aZoomZ;
	myRelease = false;
	myMode = PAN_AND_ZOOM;
}

void CameraController::Update(FrameContext& aContext)
{
	if (!myPlayer)
	{
		std::printf("CameraController: PLAYER IS NULL\n");
		return;
	}
	if (!myCamera)
	{
		std::printf("CameraController: CAMERA IS NULL\n");
		return;
	}
	const float someDeltaTime = aContext.deltaTime;
	switch (myMode)
	{
	case FOLLOW: UpdateFollow(someDeltaTime); break;
	case PAN_AND_RETURN: UpdatePanAndReturn(someDeltaTime); break;
	case PAN_AND_ZOOM: UpdatePanAndZoom(someDeltaTime); break;
	case RETURN_TO_PLAYER: UpdateReturn(someDeltaTime); break;
	default: break;
	}
}

Norv::Vector2<float> CameraController::GetClampedPlayerPosition() const
{
	return { ClampToBounds(myPlayer->myPosition.x, myBoundsMin.x, myBoundsMax.x), ClampToBounds(myPlayer->myPosition.y, myBoundsMin.y, myBoundsMax.y) };
}

Norv::Vector2<float> CameraController::GetCameraPosition() const
{
	if (!myCamera)
		return {};
	const Norv::Vector3<float> someTranslation = myCamera->myTransform.GetTranslation();
	return { someTranslation.x, someTranslation.y };
}

void CameraController::SetCameraTranslation(Norv::Vector2<float> aPosition, float aZ)
{
	if (myCamera)
		myCamera->myTransform.SetTranslation({ aPosition.x, aPosition.y, aZ });
}

void CameraController::StepShake(float aDeltaTime)
{
	if (myShakeRemaining <= 0.0f)
	{
		myShakeOffset = {};
		return;
	}
	myShakeRemaining -= aDeltaTime;
	const float someAmplitude = std::lerp(0.0f, myShakeStrength, std::min(1.0f, myShakeRemaining / myShakeDuration));
	myShakeTick -= aDeltaTime;
	if (myShakeTick <= 0.0f)
	{
		myShakeTick = SHAKE_TICK;
		myShakeOffset.x = static_cast<float>(GameRandom::Rand() % SHAKE_RANGE - SHAKE_RANGE / 2) / (SHAKE_RANGE / 2) * someAmplitude;
		myShakeOffset.y = static_cast<float>(GameRandom::Rand() % SHAKE_RANGE - SHAKE_RANGE / 2) / (SHAKE_RANGE / 2) * someAmplitude;
	}
}

void CameraController::UpdateFollow(float aDeltaTime)
{
	const Norv::Vector2<float> someTarget = GetClampedPlayerPosition();
	myFollowPosition.y = std::clamp(myFollowPosition.y, someTarget.y - DEAD_ZONE, someTarget.y + DEAD_ZONE);
	if (myPlayer->myAirTime <= 0.0f)
		myFollowPosition.y = std::lerp(myFollowPosition.y, someTarget.y, std::min(1.0f, VERTICAL_RATE * aDeltaTime));
	myFollowPosition.x = std::lerp(myFollowPosition.x, someTarget.x, std::min(1.0f, HORIZONTAL_RATE * aDeltaTime));
	StepShake(aDeltaTime);
	SetCameraTranslation(myFollowPosition + myShakeOffset, myFollowZ);
}

void CameraController::UpdatePanAndReturn(float aDeltaTime)
{
	myPanElapsed += aDeltaTime;
	const float someElapsed = myPanElapsed;
	if (someElapsed < myPanDuration)
	{
		myFollowPosition = Lerp(myPanStart, myPanTarget, EaseInOutCubic(someElapsed / myPanDuration));
	}
	else if (someElapsed < myPanDuration + myPanHold)
	{
		myFollowPosition = myPanTarget;
	}
	else if (someElapsed < 2.0f * myPanDuration + myPanHold)
	{
		myFollowPosition = Lerp(myPanTarget, myPanStart, EaseInOutCubic((someElapsed - myPanDuration - myPanHold) / myPanDuration));
	}
	else
	{
		myPanEased = false;
		myMode = FOLLOW;
	}
	SetCameraTranslation(myFollowPosition, myFollowZ);
}

void CameraController::UpdatePanAndZoom(float aDeltaTime)
{
	if (myRelease)
	{
		myReleaseTimer += aDeltaTime;
		if (myReleaseTimer >= RELEASE_DELAY)
			myMode = RETURN_TO_PLAYER;
		return;
	}
	myPanElapsed += aDeltaTime;
	const float someT = EaseInOutCubic(myPanDuration > 0.0f ? std::clamp(myPanElapsed / myPanDuration, 0.0f, 1.0f) : 1.0f);
	myFollowPosition = Lerp(myPanStart, myPanTarget, someT);
	myCurrentZ = std::lerp(myZoomStartZ, myZoomTargetZ, someT);
	StepShake(aDeltaTime);
	SetCameraTranslation(myFollowPosition + myShakeOffset, myCurrentZ);
}

void CameraController::UpdateReturn(float aDeltaTime)
{
	if (myReturnPending)
	{
		myFollowPosition = GetCameraPosition();
		myPanStart = myFollowPosition;
		myPanDuration = RETURN_DURATION;
		myPanElapsed = 0.0f;
		myReturnPending = false;
	}
	myPanElapsed += aDeltaTime;
	const float someT = EaseInOutCubic(std::clamp(myPanElapsed / RETURN_DURATION, 0.0f, 1.0f));
	myFollowPosition = Lerp(myPanStart, GetClampedPlayerPosition(), someT);
	myCurrentZ = std::lerp(myStartZ, myFollowZ, someT);
	SetCameraTranslation(myFollowPosition, myCurrentZ);
	if (myCamera->myTransform.GetTranslation().z >= myFollowZ - FOLLOW_Z_TOLERANCE)
	{
		myMode = FOLLOW;
		myRelease = false;
		myReturnPending = true;
	}
}
