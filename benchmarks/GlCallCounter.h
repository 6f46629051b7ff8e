#pragma once
// Counts the OpenGL calls and draws of this process by swapping libepoxy's
// function pointers for counting ones that call the driver's own function (as
// the current context's GetProcAddress gives it). Install with a context current.
#include <SDL.h>
#include <epoxy/gl.h>

#include <cstdint>
#include <type_traits>

namespace GlCallCounter
{
	inline std::uint64_t ourCalls = 0;
	inline std::uint64_t ourDraws = 0;

	template <auto* Pointer, bool IsDraw, typename Function = std::remove_pointer_t<decltype(Pointer)>>
	struct Counted;

	template <auto* Pointer, bool IsDraw, typename Result, typename... Arguments>
	struct Counted<Pointer, IsDraw, Result (*)(Arguments...)>
	{
		static inline Result (*ourFunction)(Arguments...) = nullptr;

		static void Install(const char* aName)
		{
			ourFunction = reinterpret_cast<Result (*)(Arguments...)>(SDL_GL_GetProcAddress(aName));
			if (ourFunction)
				*Pointer = &Call;
		}

		static Result Call(Arguments... someArguments)
		{
			++ourCalls;
			ourDraws += IsDraw;
			return ourFunction(someArguments...);
		}
	};

	// Every GL function the d3d11 stand-in calls while drawing and presenting.
	inline void Install()
	{
#define NORV_COUNTED(NAME) Counted<&NAME, false>::Install(#NAME);
#define NORV_COUNTED_DRAW(NAME) Counted<&NAME, true>::Install(#NAME);
		NORV_COUNTED_DRAW(glDrawArrays)
		NORV_COUNTED_DRAW(glDrawElementsBaseVertex)
		NORV_COUNTED_DRAW(glDrawArraysInstancedBaseInstance)
		NORV_COUNTED_DRAW(glDrawElements)
		NORV_COUNTED_DRAW(glDrawElementsInstancedBaseVertexBaseInstance)
		NORV_COUNTED(glBindVertexArray) NORV_COUNTED(glVertexArrayVertexBuffer) NORV_COUNTED(glVertexArrayElementBuffer)
		NORV_COUNTED(glVertexArrayBindingDivisor) NORV_COUNTED(glVertexArrayAttribIFormat) NORV_COUNTED(glVertexArrayAttribFormat)
		NORV_COUNTED(glVertexArrayAttribBinding) NORV_COUNTED(glEnableVertexArrayAttrib) NORV_COUNTED(glDisableVertexArrayAttrib)
		NORV_COUNTED(glNamedBufferSubData) NORV_COUNTED(glNamedBufferData) NORV_COUNTED(glMapNamedBufferRange)
		NORV_COUNTED(glUnmapNamedBuffer) NORV_COUNTED(glCopyNamedBufferSubData) NORV_COUNTED(glBindBufferBase) NORV_COUNTED(glBindBufferRange)
		NORV_COUNTED(glBindTextureUnit) NORV_COUNTED(glBindSampler) NORV_COUNTED(glBindProgramPipeline) NORV_COUNTED(glUseProgramStages)
		NORV_COUNTED(glBindFramebuffer) NORV_COUNTED(glNamedFramebufferTexture) NORV_COUNTED(glNamedFramebufferDrawBuffer)
		NORV_COUNTED(glClearNamedFramebufferfv) NORV_COUNTED(glClearNamedFramebufferfi) NORV_COUNTED(glClearNamedFramebufferiv)
		NORV_COUNTED(glBlitNamedFramebuffer) NORV_COUNTED(glViewportIndexedf) NORV_COUNTED(glDepthRangeIndexed)
		NORV_COUNTED(glEnable) NORV_COUNTED(glDisable) NORV_COUNTED(glDepthMask) NORV_COUNTED(glDepthFunc) NORV_COUNTED(glColorMask)
		NORV_COUNTED(glBlendFuncSeparate) NORV_COUNTED(glBlendEquationSeparate) NORV_COUNTED(glCullFace) NORV_COUNTED(glFrontFace)
		NORV_COUNTED(glPolygonMode) NORV_COUNTED(glSamplerParameteri) NORV_COUNTED(glSamplerParameterf) NORV_COUNTED(glSamplerParameterfv)
		NORV_COUNTED(glTextureSubImage2D) NORV_COUNTED(glTextureSubImage3D) NORV_COUNTED(glCompressedTextureSubImage2D)
		NORV_COUNTED(glTextureParameteri) NORV_COUNTED(glPixelStorei) NORV_COUNTED(glGenerateTextureMipmap)
		NORV_COUNTED(glCopyImageSubData) NORV_COUNTED(glFlush) NORV_COUNTED(glGetError) NORV_COUNTED(glGetIntegerv)
#undef NORV_COUNTED
#undef NORV_COUNTED_DRAW
	}
}
