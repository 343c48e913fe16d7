# The same sources as 64-bit Windows programs, for running the Windows tests under 64-bit Wine on
# machines whose kernel cannot run 32-bit programs (and so no 32-bit Wine).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QUOR_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
