# Test registration for what builds on every system. Natively each GoogleTest
# case is a test of its own; a cross build runs under an emulator whose
# start-up costs far more than a case, so there each executable is one test.
include(GoogleTest)

function(orvane_add_gtest target prefix)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${prefix}all COMMAND ${target})
  else()
    gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST TEST_PREFIX "${prefix}")
  endif()
endfunction()
