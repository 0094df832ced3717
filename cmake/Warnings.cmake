# Project-wide compiler settings, applied to every target through kv_settings.
add_library(kv_settings INTERFACE)
target_compile_options(kv_settings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
  -Wcast-align -Woverloaded-virtual -Wimplicit-fallthrough)
# GCC 12 reports -Wrestrict inside std::string's own operator+ at -O2 (a known
# false positive of that release); it says nothing about our code.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(kv_settings INTERFACE -Wno-restrict)
endif()
if(KV_WERROR)
  target_compile_options(kv_settings INTERFACE -Werror)
endif()
if(KV_SANITIZE)
  target_compile_options(kv_settings INTERFACE -fsanitize=${KV_SANITIZE} -fno-omit-frame-pointer
    -fno-sanitize-recover=all)
  target_link_options(kv_settings INTERFACE -fsanitize=${KV_SANITIZE})
endif()
target_include_directories(kv_settings INTERFACE ${PROJECT_SOURCE_DIR})

# A core library of one folder: every .cpp of the folder, headers beside them.
function(kv_core_library name folder)
  file(GLOB sources CONFIGURE_DEPENDS ${folder}/*.cpp)
  add_library(${name} STATIC ${sources})
  target_link_libraries(${name} PUBLIC kv_settings)
  set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
endfunction()
