# The favourites store against real database files through Corvane.dll, with APPDATA moved
# into a throwaway folder and real shortcuts in the recent-documents folder.
pinvale_test(app_store_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/FavoriteStoreTest.cpp ${CMAKE_CURRENT_LIST_DIR}/FavoriteRulesTest.cpp
  LIBS pinvale_core)
add_dependencies(app_store_tests Corvane)
# Its shortcuts in the recent-documents folder would be seeded by any other first start.
set_tests_properties(app_store_tests PROPERTIES RESOURCE_LOCK pinvale_user_state)
