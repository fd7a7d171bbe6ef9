# The Windows tests' fixture: the zip unpacked into an empty FOLDER, and
# Wine's PREFIX made if it is missing (see wine.py).
if(NOT EXISTS ${ZIP})
  message(FATAL_ERROR "no Windows zip at ${ZIP}: run scripts/windows.sh first")
endif()
file(REMOVE_RECURSE ${FOLDER})
file(MAKE_DIRECTORY ${FOLDER})
file(ARCHIVE_EXTRACT INPUT ${ZIP} DESTINATION ${FOLDER})
execute_process(COMMAND ${PYTHON} ${WINE_PY} ${PREFIX} init RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cannot make Wine's prefix ${PREFIX}")
endif()
