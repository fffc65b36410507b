# Compiles the help file: cmake -DCOMPILER=<chmcmd or hhc> -DDIR=<copy of help/> -DOUT=<trm.chm> -P chm.cmake
# Microsoft's hhc ends with exit code 1 when it succeeded, so the result is judged by the file it
# leaves, not by the exit code.
file(REMOVE ${DIR}/trm.chm)
execute_process(COMMAND ${COMPILER} trm.hhp WORKING_DIRECTORY ${DIR} OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(NOT EXISTS ${DIR}/trm.chm)
  message(FATAL_ERROR "${COMPILER} made no trm.chm:\n${log}")
endif()
configure_file(${DIR}/trm.chm ${OUT} COPYONLY)
