# cmake -DHISTORY=<rate-history.tsv> -DOUTPUT=<file.cpp> -P GenerateBuiltInRates.cmake
#
# Writes the published rate history, as data/rate-history.tsv holds it, into a C++ source for
# the engine's built-in rate table: one record per line, oldest first, the rate written as the
# file writes it. The history is read, never retyped; a line that is not a period stops the build.
cmake_minimum_required(VERSION 3.25)

file(STRINGS "${HISTORY}" lines ENCODING UTF-8)
list(POP_FRONT lines header)
if(NOT header STREQUAL "start\trate\tunit\tbasis")
  message(FATAL_ERROR "${HISTORY}: unexpected column names: ${header}")
endif()

set(records "")
set(count 0)
foreach(line IN LISTS lines)
  if(line STREQUAL "")
    continue()
  endif()
  if(NOT line MATCHES "^([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])\t([0-9]+\\.[0-9]+)\t(year|day)\t[a-z]+$")
    message(FATAL_ERROR "${HISTORY}: not a period: ${line}")
  endif()
  set(year ${CMAKE_MATCH_1})
  set(month ${CMAKE_MATCH_2})
  set(day ${CMAKE_MATCH_3})
  set(rate ${CMAKE_MATCH_4})
  set(unit_name ${CMAKE_MATCH_5})
  # Months and days without their leading zero, which C++ would read as octal.
  string(REGEX REPLACE "^0" "" month "${month}")
  string(REGEX REPLACE "^0" "" day "${day}")
  if(unit_name STREQUAL "year")
    set(unit PublishedRateUnit::PerYear)
  else()
    set(unit PublishedRateUnit::PerDay)
  endif()
  string(APPEND records "    {${year}, ${month}, ${day}, ${rate}, ${unit}},\n")
  math(EXPR count "${count} + 1")
endforeach()
if(count EQUAL 0)
  message(FATAL_ERROR "${HISTORY}: no periods")
endif()

set(text "// Written by cmake/GenerateBuiltInRates.cmake from data/rate-history.tsv; do not edit.\n")
string(APPEND text "#include \"engine/built_in_rates.h\"\n\n")
string(APPEND text "namespace vistrel {\nnamespace {\n\n")
string(APPEND text "constexpr PublishedRate kHistory[] = {\n${records}};\n\n")
string(APPEND text "static_assert(std::size(kHistory) <= RateTableCapacity, \"the history fills more than a rate table\");\n\n")
string(APPEND text "}  // namespace\n\n")
string(APPEND text "std::span<const PublishedRate> PublishedRateHistory() noexcept { return kHistory; }\n\n")
string(APPEND text "}  // namespace vistrel\n")

# Written only when it changes, so that an unchanged history rebuilds nothing.
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
  if(old STREQUAL text)
    return()
  endif()
endif()
file(WRITE "${OUTPUT}" "${text}")
