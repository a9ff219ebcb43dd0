# Draws the picture of the menu's images again and fails when it differs from the one checked in.
execute_process(COMMAND ${PYTHON} ${SCRIPT} picture ${IMAGES} ${DRAWN} RESULT_VARIABLE drawn)
if(NOT drawn EQUAL 0)
  message(FATAL_ERROR "Cannot draw the picture of the menu's images")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${DRAWN} ${PICTURE} RESULT_VARIABLE same)
if(NOT same EQUAL 0)
  message(FATAL_ERROR "${PICTURE} no longer shows the menu's images; redraw it from ${IMAGES}")
endif()
