# 64-bit Windows with Debian's MinGW-w64, the posix thread model (std::thread and
# std::mutex need it). Libraries come from the prefix that scripts/windows-deps
# fills; executables are linked statically, so nothing but the system's DLLs has
# to lie beside them. Programs built here run under Wine through scripts/wine-run,
# which is what ctest and test discovery use.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TESSALY_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TESSALY_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TESSALY_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TESSALY_MINGW_TRIPLE}-windres)

get_filename_component(TESSALY_SOURCE_ROOT "${CMAKE_CURRENT_LIST_DIR}/../.." ABSOLUTE)
set(TESSALY_WINDOWS_DEPS "${TESSALY_SOURCE_ROOT}/build/windows-deps"
    CACHE PATH "Prefix of the libraries built for Windows by scripts/windows-deps")
# try_compile projects see the toolchain again, without the cache of the main project.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TESSALY_WINDOWS_DEPS)

set(CMAKE_FIND_ROOT_PATH "${TESSALY_WINDOWS_DEPS}" /usr/${TESSALY_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The host's .pc files describe Linux libraries.
set(ENV{PKG_CONFIG_LIBDIR} "${TESSALY_WINDOWS_DEPS}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# scripts/windows-deps builds libraries with this file too, with the emulator
# given empty: their configure checks then need no Wine.
if(NOT DEFINED CMAKE_CROSSCOMPILING_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${TESSALY_SOURCE_ROOT}/scripts/wine-run")
endif()
