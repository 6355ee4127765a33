# Consistency test of the reference-table sources (data/tables/*.tsv).
add_executable(tst_referencedata ${CMAKE_CURRENT_LIST_DIR}/tst_referencedata.cpp)
set_target_properties(tst_referencedata PROPERTIES AUTOMOC ON)
target_link_libraries(tst_referencedata PRIVATE Qt6::Core Qt6::Test)
target_compile_definitions(tst_referencedata PRIVATE KELVOR_DATA_SOURCE_DIR="${PROJECT_SOURCE_DIR}/data")
add_test(NAME tst_referencedata COMMAND tst_referencedata)
