cmake_minimum_required(VERSION 3.22)
# Installs the build into a staging folder and checks what a desktop needs: the program, the
# desktop entry, the icon at every theme size and as SVG, the AppStream metadata and the analysis
# file's type, with the entry and the metadata passing the desktop's own validators and the type
# read by the desktop's own MIME database.

file(REMOVE_RECURSE ${STAGE})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${STAGE}
                RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "install failed: ${errors}")
endif()

set(id com.example.Quillon)
set(expected bin/quillon share/applications/${id}.desktop share/metainfo/${id}.metainfo.xml
             share/icons/hicolor/scalable/apps/${id}.svg share/mime/packages/${id}.xml)
foreach(size 16 22 24 32 48 64 128 256)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/${id}.png)
endforeach()
foreach(file IN LISTS expected)
  if(NOT EXISTS ${STAGE}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

# The smallest and the largest theme sizes hold pictures of exactly that size (a PNG's width and
# height are the big-endian words at bytes 16 to 23).
foreach(size_and_hex "16;00000010" "256;00000100")
  list(GET size_and_hex 0 size)
  list(GET size_and_hex 1 hex)
  file(READ ${STAGE}/share/icons/hicolor/${size}x${size}/apps/${id}.png dimensions OFFSET 16
       LIMIT 8 HEX)
  if(NOT dimensions STREQUAL "${hex}${hex}")
    message(FATAL_ERROR "icon ${size}x${size} is ${dimensions} (hex width and height)")
  endif()
endforeach()

file(READ ${STAGE}/share/applications/${id}.desktop entry)
if(NOT entry MATCHES "\nIcon=${id}\n" OR NOT entry MATCHES "\nExec=quillon %f\n"
   OR NOT entry MATCHES "\nCategories=Education;Science;MedicalSoftware;\n"
   OR NOT entry MATCHES "\nMimeType=application/x-quillon;\n")
  message(FATAL_ERROR "the desktop entry lacks its icon, command, categories or type:\n${entry}")
endif()

# The staged type, built into a MIME database of its own: it names *.quillon, with its comment.
set(mime ${STAGE}/mime)
file(COPY ${STAGE}/share/mime/packages DESTINATION ${mime})
execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_DATA_HOME=${STAGE} ${UPDATE_MIME_DATABASE}
                        ${mime} RESULT_VARIABLE status
                OUTPUT_VARIABLE output ERROR_VARIABLE output)
file(READ ${mime}/globs2 globs)
if(NOT status EQUAL 0 OR NOT output STREQUAL ""
   OR NOT globs MATCHES ":application/x-quillon:\\*\\.quillon\n")
  message(FATAL_ERROR "the file type is not read as *.quillon:\n${output}\n${globs}")
endif()
file(READ ${mime}/application/x-quillon.xml type)
if(NOT type MATCHES "Quillon 分析文件")
  message(FATAL_ERROR "the file type lacks its Chinese comment:\n${type}")
endif()

foreach(check "${DESKTOP_FILE_VALIDATE};${STAGE}/share/applications/${id}.desktop"
              "${APPSTREAMCLI};validate;--no-net;${STAGE}/share/metainfo/${id}.metainfo.xml")
  execute_process(COMMAND ${check} RESULT_VARIABLE status OUTPUT_VARIABLE output
                  ERROR_VARIABLE output)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${check} failed:\n${output}")
  endif()
endforeach()
