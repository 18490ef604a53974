# The main window of Tessarune.exe, driven with real input: included from tests/e2e when the
# program is built.  Cross-built, the test runs under Wine and needs code page 936
# (LC_ALL=zh_CN.UTF-8) and a display.
tessarune_sources(e2e_app_srcs ${CMAKE_CURRENT_LIST_DIR}/app_cases.cpp)
add_executable(e2e_app ${e2e_app_srcs})
target_link_libraries(e2e_app PRIVATE e2e_driver_lib tessarune_calc tessarune_flags)
# wmain gets the arguments as UTF-16.
target_link_options(e2e_app PRIVATE -municode)
add_test(NAME e2e_app COMMAND e2e_app $<TARGET_FILE:tessarune>)
set_tests_properties(e2e_app PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
