# The windows' logic in portable C++: the panel window and the target CAD
# dialog behind view interfaces, and the list type-ahead. Built on every
# system; the Qt windows and the native Windows ones are views over it.
set(orvane_ui_logic_sources
  ${CMAKE_CURRENT_LIST_DIR}/commandsearch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/listitemcache.cpp
  ${CMAKE_CURRENT_LIST_DIR}/listwatch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/menubarlayout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/panel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/panelform.cpp
  ${CMAKE_CURRENT_LIST_DIR}/searchbox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/searchtext.cpp
  ${CMAKE_CURRENT_LIST_DIR}/targetcadform.cpp
  ${CMAKE_CURRENT_LIST_DIR}/typeahead.cpp)
add_library(orvane_ui_logic STATIC ${orvane_ui_logic_sources})
target_link_libraries(orvane_ui_logic PUBLIC orvane_core orvane_cadlink)

add_executable(orvane_ui_logic_tests ${CMAKE_CURRENT_LIST_DIR}/tests/commandsearch_test.cpp
                                     ${CMAKE_CURRENT_LIST_DIR}/tests/listitemcache_test.cpp
                                     ${CMAKE_CURRENT_LIST_DIR}/tests/listwatch_test.cpp
                                     ${CMAKE_CURRENT_LIST_DIR}/tests/menubarlayout_test.cpp
                                     ${CMAKE_CURRENT_LIST_DIR}/tests/panelform_test.cpp
                                     ${CMAKE_CURRENT_LIST_DIR}/tests/panelsearch_test.cpp
                                     ${CMAKE_CURRENT_LIST_DIR}/tests/searchbox_test.cpp
                                     ${CMAKE_CURRENT_LIST_DIR}/tests/targetcadform_test.cpp
                                     ${CMAKE_CURRENT_LIST_DIR}/tests/typeahead_test.cpp)
target_link_libraries(orvane_ui_logic_tests PRIVATE orvane_ui_logic orvane_cadlink_fake GTest::gtest GTest::gtest_main)
orvane_add_gtest(orvane_ui_logic_tests "ui.logic.")
