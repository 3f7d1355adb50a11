# Draws the icon (tarnwell.svg) as one PNG size with ImageMagick, which reads
# no SVG without an extra library but has its own vector language (MVG) with
# the same path syntax. The drawing must consist of path elements whose fill,
# stroke and stroke-width are plain attributes; the viewBox starts at 0 0.
#
#   cmake -DCONVERT=convert -DSVG=tarnwell.svg -DSIZE=48 -DOUT=tarnwell-48.png -P render_icon.cmake
foreach(var CONVERT SVG SIZE OUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "render_icon.cmake needs -D${var}=...")
  endif()
endforeach()

file(READ "${SVG}" svg)
if(NOT svg MATCHES "viewBox=\"0 0 ([0-9]+) ([0-9]+)\"" OR NOT CMAKE_MATCH_1 STREQUAL CMAKE_MATCH_2)
  message(FATAL_ERROR "${SVG}: needs a square viewBox \"0 0 N N\" with a whole N")
endif()
# The scale SIZE / N with three decimals (CMake's arithmetic is whole numbers).
math(EXPR thousandths "${SIZE} * 1000 / ${CMAKE_MATCH_1}")
math(EXPR whole "${thousandths} / 1000")
math(EXPR fraction "${thousandths} % 1000 + 1000")
string(SUBSTRING "${fraction}" 1 3 fraction)
set(mvg "viewbox 0 0 ${SIZE} ${SIZE}\naffine ${whole}.${fraction},0,0,${whole}.${fraction},0,0\n")

string(REGEX MATCHALL "<path [^>]*>" paths "${svg}")
if(NOT paths)
  message(FATAL_ERROR "${SVG}: no path elements")
endif()
foreach(path IN LISTS paths)
  set(fill "#000000")
  set(stroke "none")
  set(width 1)
  if(path MATCHES " fill=\"([^\"]+)\"")
    set(fill "${CMAKE_MATCH_1}")
  endif()
  if(path MATCHES " stroke=\"([^\"]+)\"")
    set(stroke "${CMAKE_MATCH_1}")
  endif()
  if(path MATCHES " stroke-width=\"([0-9.]+)\"")
    set(width "${CMAKE_MATCH_1}")
  endif()
  if(NOT path MATCHES " d=\"([^\"]+)\"")
    message(FATAL_ERROR "${SVG}: a path without d: ${path}")
  endif()
  string(APPEND mvg "push graphic-context\nfill '${fill}'\nstroke '${stroke}'\nstroke-width ${width}\n"
                    "path '${CMAKE_MATCH_1}'\npop graphic-context\n")
endforeach()

file(WRITE "${OUT}.mvg" "${mvg}")
# 8-bit RGBA without time stamps, so that the same drawing gives the same bytes.
execute_process(
  COMMAND "${CONVERT}" -background none "mvg:${OUT}.mvg" -depth 8 -define png:color-type=6
          -define png:exclude-chunks=date,time -strip "${OUT}"
  RESULT_VARIABLE result)
file(REMOVE "${OUT}.mvg")
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${CONVERT} could not draw ${OUT}")
endif()
