# Unpacks the portable package into an empty folder and runs the tests that start the
# program from there (PortablePackage.*), telling them where it is.
file(REMOVE_RECURSE ${FOLDER})
file(MAKE_DIRECTORY ${FOLDER})
file(ARCHIVE_EXTRACT INPUT ${PACKAGE} DESTINATION ${FOLDER})
set(ENV{QM_PORTABLE_PROGRAM} "Z:${FOLDER}/Quillmere.exe")
execute_process(COMMAND ${EMULATOR} ${TESTS} --gtest_filter=PortablePackage.* RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the portable package tests failed (${result})")
endif()
