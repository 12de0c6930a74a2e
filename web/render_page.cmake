# Renders a Markdown file to a whole HTML page:
#   cmake -DMARKDOWN=markdown_py -DINPUT=in.md -DTEMPLATE=page.html.in -DOUTPUT=out.html
#         -DTITLE=title -P render_page.cmake
# The template's @TITLE@ and @BODY@ are replaced by the title and the rendered Markdown.
cmake_minimum_required(VERSION 3.25)
foreach(var MARKDOWN INPUT TEMPLATE OUTPUT TITLE)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "render_page.cmake: ${var} is not set")
  endif()
endforeach()
execute_process(
  COMMAND ${MARKDOWN} -e utf-8 -x tables -x fenced_code ${INPUT}
  OUTPUT_VARIABLE body
  ERROR_VARIABLE error
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cannot render ${INPUT}: ${error}")
endif()
file(READ ${TEMPLATE} page)
string(REPLACE "@TITLE@" "${TITLE}" page "${page}")
string(REPLACE "@BODY@" "${body}" page "${page}")
file(WRITE ${OUTPUT} "${page}")
