# The display-scale tests, in win_tests at this prefix's 96 DPI, and once more at 150 % and 200 %
# in prefixes that tools/wine-dpi makes from it. Not where each start of a test program costs
# seconds (the 32-bit tests under emulation): there they run once, at 96 DPI, since what a 32-bit
# build can get wrong (pointer sizes, calling conventions) does not change with the scale.
target_sources(win_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/DisplayScaleTest.cpp)
if(PAVIX_RUN_TESTS AND NOT PAVIX_ONE_RUN_PER_PROGRAM)
  foreach(dpi 144 192)
    add_test(NAME DisplayScale.at${dpi}dpi
             COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-dpi ${dpi} ${PAVIX_WINE_WOW64} --prefix ${CMAKE_BINARY_DIR}/wineprefix
                     $<TARGET_FILE:win_tests> --gtest_filter=DisplayScale.*)
    set_tests_properties(DisplayScale.at${dpi}dpi PROPERTIES RUN_SERIAL TRUE TIMEOUT ${pavix_window_test_timeout}
                         ENVIRONMENT "PAVIX_DPI=${dpi};PAVIX_TEST_TIME_SCALE=${PAVIX_TEST_TIME_SCALE}")
  endforeach()
endif()
