# Cross-compiling for the instrument's microcontroller: a Cortex-M3 in Thumb code with
# picolibc, from Debian's gcc-arm-none-eabi and picolibc-arm-none-eabi.
#   cmake -S . -B build-target -G Ninja --toolchain target/arm-none-eabi.cmake
# builds the firmware alone (no exceptions, no run-time type information, no heap) and the
# programs of target/. scripts/mcu does that and more.
set(CMAKE_SYSTEM_NAME Generic)
set(CMAKE_SYSTEM_PROCESSOR arm)

set(CMAKE_C_COMPILER arm-none-eabi-gcc)
set(CMAKE_CXX_COMPILER arm-none-eabi-g++)
set(CMAKE_ASM_COMPILER arm-none-eabi-gcc)
# Without the start-up code and linker script of target/, no test program links.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

set(TXM9_CPU_FLAGS "-mcpu=cortex-m3 -mthumb")
# picolibc named outright: its headers first, its libraries for this CPU (the multilib folder
# the compiler names for these flags), and thread-local data without a run-time to find it.
set(TXM9_PICOLIBC /usr/lib/picolibc/arm-none-eabi)
execute_process(COMMAND ${CMAKE_C_COMPILER} -mcpu=cortex-m3 -mthumb -print-multi-directory
                OUTPUT_VARIABLE TXM9_MULTILIB OUTPUT_STRIP_TRAILING_WHITESPACE)
set(TXM9_LIBC_FLAGS "-isystem ${TXM9_PICOLIBC}/include -ftls-model=local-exec")
# Each function and object in a section of its own, so that the linker drops what no pass
# reaches; function-local statics without a lock (one thread, no library to provide it).
set(CMAKE_C_FLAGS_INIT "${TXM9_CPU_FLAGS} ${TXM9_LIBC_FLAGS} -ffunction-sections -fdata-sections")
set(CMAKE_CXX_FLAGS_INIT "${TXM9_CPU_FLAGS} ${TXM9_LIBC_FLAGS} -ffunction-sections -fdata-sections \
-fno-exceptions -fno-rtti -fno-threadsafe-statics")
# The start-up code is target/startup.c.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-Wl,--gc-sections -nostartfiles -nodefaultlibs \
-L${TXM9_PICOLIBC}/lib/${TXM9_MULTILIB} -L${TXM9_PICOLIBC}/lib")
set(CMAKE_C_STANDARD_LIBRARIES_INIT "-Wl,--start-group -lgcc -lc -Wl,--end-group")
set(CMAKE_CXX_STANDARD_LIBRARIES_INIT "${CMAKE_C_STANDARD_LIBRARIES_INIT}")

# Flash is the scarce resource.
set(CMAKE_BUILD_TYPE MinSizeRel CACHE STRING "Build type")

set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
