# Unpacks the portable package into an empty folder and runs the tests that start the
# program from there (PortablePackage.*), telling them where it is.
#
# The package is also unpacked into a second folder that nothing may change: it and
# its files get the file system's immutable flag, which binds even the superuser the
# tests may run as (under Wine neither the read-only attribute nor the folder's mode
# bits keep such a user from writing). Where the flag cannot be set, that test is
# skipped. The flag is taken off again whatever the tests give.
file(REMOVE_RECURSE ${FOLDER})
file(MAKE_DIRECTORY ${FOLDER})
file(ARCHIVE_EXTRACT INPUT ${PACKAGE} DESTINATION ${FOLDER})
set(ENV{QM_PORTABLE_PROGRAM} "Z:${FOLDER}/Quillmere.exe")

set(READONLY ${FOLDER}-readonly)
execute_process(COMMAND chattr -R -i ${READONLY} OUTPUT_QUIET ERROR_QUIET)
file(REMOVE_RECURSE ${READONLY})
file(ARCHIVE_EXTRACT INPUT ${PACKAGE} DESTINATION ${READONLY})
file(WRITE ${READONLY}/Config/Option.ini "[Option]\r\nCheckBoxFonts=1\r\n[Own]\r\nKey=1\r\n")
file(WRITE ${READONLY}/Config/ExclusionReg.ini "[ExclusionReg]\r\nCount=1\r\nReg0=kept\r\nD0=d\r\nCH0=1\r\n")
file(MAKE_DIRECTORY ${READONLY}/backup)
execute_process(COMMAND chattr -R +i ${READONLY} RESULT_VARIABLE locked OUTPUT_QUIET ERROR_QUIET)
if(locked EQUAL 0)
  set(ENV{QM_READONLY_PROGRAM} "Z:${READONLY}/Quillmere.exe")
endif()

execute_process(COMMAND ${EMULATOR} ${TESTS} --gtest_filter=PortablePackage.* RESULT_VARIABLE result)
execute_process(COMMAND chattr -R -i ${READONLY} OUTPUT_QUIET ERROR_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the portable package tests failed (${result})")
endif()
