# cmake -DEXTRACT=glimra-extract -DICO=file.ico -DSIZE=N -DOUT=file.png -P theme_icon.cmake
# Writes the one image glimra-extract --size N picks as OUT; fails unless
# that image is N x N pixels.
set(work ${OUT}.parts)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work})
execute_process(COMMAND ${EXTRACT} --png --size ${SIZE} -o ${work} ${ICO} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${EXTRACT} --png --size ${SIZE} failed on ${ICO}: ${status}")
endif()
file(GLOB written ${work}/*.png)
file(GLOB exact ${work}/*_${SIZE}x${SIZE}_*.png)
list(LENGTH written count)
if(NOT count EQUAL 1 OR NOT exact)
  message(FATAL_ERROR "${ICO} has no single ${SIZE}x${SIZE} image: ${written}")
endif()
file(COPY_FILE ${exact} ${OUT})
file(REMOVE_RECURSE ${work})
