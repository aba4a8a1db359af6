# The clock at a faked moment in zones that are not UTC, one run of win_tests each; the moment is
# the zone's local time, as libfaketime reads it.
target_sources(win_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/FakedClockTest.cpp)
if(PAVIX_RUN_TESTS)
  foreach(row "NewYorkInJuly|America/New_York|2026-07-15 08:00:00" "SydneyInJanuary|Australia/Sydney|2026-01-15 12:00:00")
    string(REPLACE "|" ";" fields "${row}")
    list(GET fields 0 name)
    list(GET fields 1 zone)
    list(GET fields 2 moment)
    add_test(NAME FakedClock.${name}
             COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-run ${PAVIX_WINE_WOW64} --prefix ${CMAKE_BINARY_DIR}/wineprefix
                     $<TARGET_FILE:win_tests> --gtest_filter=FakedClock.*)
    set_tests_properties(FakedClock.${name} PROPERTIES RUN_SERIAL TRUE TIMEOUT ${pavix_window_test_timeout}
                         ENVIRONMENT "TZ=${zone};PAVIX_FAKETIME=@${moment};PAVIX_TEST_TIME_SCALE=${PAVIX_TEST_TIME_SCALE}")
  endforeach()
endif()
