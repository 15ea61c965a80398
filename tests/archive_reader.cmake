# The archive test program writes random binary archives, each with the listing of the
# tree that wrote it; the independent reader tools/read_archive.py must read every one,
# and the golden archives, as listed.
# Inputs: TEST_PROGRAM, PYTHON, READER, GOLDEN_DIR, WORK_DIR.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
set(ENV{CK80_ARCHIVE_SAMPLES} ${WORK_DIR})
execute_process(COMMAND ${TEST_PROGRAM} --gtest_filter=ArchiveParser.RandomTreesSurviveRoundTrips
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "writing the sample archives failed (${rc})")
endif()
file(GLOB samples ${WORK_DIR}/*.tc2)
list(LENGTH samples count)
if(count LESS 10)
  message(FATAL_ERROR "only ${count} sample archives were written")
endif()
execute_process(COMMAND ${PYTHON} ${READER} --check ${WORK_DIR} ${GOLDEN_DIR} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the second reader disagrees (${rc})")
endif()
