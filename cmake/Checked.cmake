# The checked build, made only with the tests: the launcher's sources again,
# with GCC's undefined-behaviour checks. Each check is a trap (an illegal
# instruction, STATUS_ILLEGAL_INSTRUCTION), so no runtime library and no import
# comes with them. The unit tests run against these libraries, the end-to-end
# tests against Autorun-wine-checked; what ships is never built this way.
#
# Included by CMakeLists.txt, in its scope: each twin takes its original's
# sources (and their properties) as they stand.

add_library(autorun_checked INTERFACE)
target_compile_options(autorun_checked INTERFACE -fsanitize=undefined -fsanitize-undefined-trap-on-error)
# The framework's heap then also validates every block it frees.
target_compile_definitions(autorun_checked INTERFACE AUTORUN_CHECKED)

add_library(framework_checked STATIC $<TARGET_PROPERTY:framework,SOURCES>)
target_link_libraries(framework_checked PUBLIC autorun_options PRIVATE autorun_hardened autorun_checked)

add_library(framework_runtime_checked OBJECT $<TARGET_PROPERTY:framework_runtime,SOURCES>)
target_link_libraries(framework_runtime_checked PRIVATE autorun_options autorun_hardened autorun_checked)

add_library(framework_entry_checked OBJECT $<TARGET_PROPERTY:framework_entry,SOURCES>)
target_link_libraries(framework_entry_checked PUBLIC framework_checked PRIVATE autorun_hardened autorun_checked)

add_library(launch_checked STATIC $<TARGET_PROPERTY:launch,SOURCES>)
target_link_libraries(launch_checked PUBLIC framework_checked PRIVATE autorun_hardened autorun_checked)

add_library(launcher_checked OBJECT $<TARGET_PROPERTY:launcher,SOURCES>)
target_link_libraries(launcher_checked PUBLIC framework_checked launch_checked PRIVATE autorun_hardened autorun_checked)

# The Wine build, checked, and with its heap validated when it ends by itself.
add_executable(Autorun-wine-checked WIN32 $<TARGET_PROPERTY:Autorun-wine,SOURCES>
    tests/fixtures/HeapCheckAtExit.cpp)
target_link_libraries(Autorun-wine-checked PRIVATE launcher_checked framework_entry_checked autorun_checked)
autorun_launcher_executable(Autorun-wine-checked RUNTIME framework_runtime_checked)
