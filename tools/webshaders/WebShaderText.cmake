# Writes the browser's text of one of the show's shader files, at build time:
#   cmake -D INPUT=data/heart.fsh -D OUTPUT=<dir>/heart.fsh -P WebShaderText.cmake
#
# The files are written in GLSL 3.30 core. WebGL2 takes GLSL ES 3.00, which
# differs for these shaders only in its first line and in wanting a default
# float precision in the fragment stage; the rest of the file is copied as it
# is. A file that does not start with "#version 330 core" is refused with a
# message naming it, so a new shader cannot slip into the page unconverted.
if(NOT DEFINED INPUT OR NOT DEFINED OUTPUT)
    message(FATAL_ERROR "usage: cmake -D INPUT=<shader> -D OUTPUT=<file> -P WebShaderText.cmake")
endif()

file(READ "${INPUT}" desktop_text)
string(REGEX MATCH "^#version 330 core[ \t\r]*\n" version_line "${desktop_text}")
if(version_line STREQUAL "")
    message(FATAL_ERROR "${INPUT}: the first line is not \"#version 330 core\"; "
        "cannot make its WebGL2 text")
endif()
string(LENGTH "${version_line}" version_line_length)
string(SUBSTRING "${desktop_text}" ${version_line_length} -1 body)

# High precision, as on the desktop: the background multiplies "time" (up to
# 27) before taking fractions of it, which medium precision would make coarse.
set(web_header "#version 300 es\nprecision highp float;\n")
file(WRITE "${OUTPUT}.tmp" "${web_header}${body}")
# Only a changed text touches the file, so the page is not relinked for nothing.
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
