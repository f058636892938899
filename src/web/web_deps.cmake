# The libraries scripts/build-web-deps built for WebAssembly, under the names the
# native build finds them by, so that the engine links them unchanged.
set(ORVCONV_WEB_DEPS "" CACHE PATH "The folder scripts/build-web-deps printed")
if(NOT IS_DIRECTORY "${ORVCONV_WEB_DEPS}/lib")
  message(FATAL_ERROR "ORVCONV_WEB_DEPS: run scripts/build-web-deps and pass the folder it prints")
endif()

function(orvconv_web_dependency target)
  add_library(${target} INTERFACE IMPORTED GLOBAL)
  target_include_directories(${target} INTERFACE ${ORVCONV_WEB_DEPS}/include)
  list(TRANSFORM ARGN PREPEND ${ORVCONV_WEB_DEPS}/lib/)
  target_link_libraries(${target} INTERFACE ${ARGN})
endfunction()

orvconv_web_dependency(PNG::PNG libpng16.a libz.a)
orvconv_web_dependency(PkgConfig::WEBPMUX libwebpmux.a libwebp.a)
orvconv_web_dependency(PkgConfig::GIF libgif.a)
orvconv_web_dependency(PkgConfig::IMAGEQUANT libimagequant.a)
