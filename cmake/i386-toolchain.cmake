# 32-bit x86 build on an x86-64 Debian machine (g++-multilib); programs run
# under qemu-i386 user-mode emulation, since the kernel here does not run
# 32-bit binaries itself.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT "-m32")
set(CMAKE_CXX_FLAGS_INIT "-m32")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-m32")
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-i386)
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
