# SPDX-License-Identifier: GPL-3.0-or-later
# The fuzz target over the commands of permora-cli that read files, with the command code
# compiled in as well as the model and file code.
find_package(CLI11 CONFIG REQUIRED)
find_package(nlohmann_json REQUIRED)
file(GLOB _cli_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/cli/*.cpp
     ${PROJECT_SOURCE_DIR}/cli/commands/*.cpp)
list(FILTER _cli_sources EXCLUDE REGEX "/main\\.cpp$")
# capture and verify are in the command table; the code of live shares comes with them.
file(GLOB _smb_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/smb/*.cpp)
list(APPEND _cli_sources ${_smb_sources})
add_executable(cli_fuzzer ${CMAKE_CURRENT_LIST_DIR}/cli_fuzzer.cpp ${_cli_sources}
               ${_fuzzed_sources})
target_include_directories(cli_fuzzer PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(cli_fuzzer PRIVATE permora_strict permora_version CLI11::CLI11
                      nlohmann_json::nlohmann_json)
target_compile_options(cli_fuzzer PRIVATE ${_fuzz_flags})
target_link_options(cli_fuzzer PRIVATE ${_fuzz_flags})
