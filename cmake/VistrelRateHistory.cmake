# cmake -DINPUT=<rate-history.tsv> -DOUTPUT=<file.cpp> -P VistrelRateHistory.cmake
# Writes the published rate history as a C++ table, oldest period first, one entry per line of
# the file after its header: the first day, the rate as published and whether it is per year.
cmake_policy(VERSION 3.25)
file(STRINGS "${INPUT}" lines ENCODING UTF-8)
list(POP_FRONT lines header)
if(NOT header MATCHES "^start\trate\tunit")
  message(FATAL_ERROR "${INPUT}: the header is not start, rate, unit")
endif()
set(entries "")
set(count 0)
set(previous "")
foreach(line IN LISTS lines)
  if(line STREQUAL "")
    continue()
  endif()
  if(NOT line MATCHES "^([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])\t([0-9]+(\\.[0-9]+)?)\t(year|day)(\t|$)")
    message(FATAL_ERROR "${INPUT}: cannot read the line \"${line}\"")
  endif()
  set(year_text "${CMAKE_MATCH_1}")
  set(month_text "${CMAKE_MATCH_2}")
  set(day_text "${CMAKE_MATCH_3}")
  set(rate "${CMAKE_MATCH_4}")
  set(unit "${CMAKE_MATCH_6}")
  set(start "${year_text}-${month_text}-${day_text}")
  if(NOT previous STREQUAL "" AND NOT start STRGREATER previous)
    message(FATAL_ERROR "${INPUT}: ${start} does not follow ${previous}")
  endif()
  set(previous "${start}")
  math(EXPR year "${year_text}")
  math(EXPR month "1${month_text} - 100")
  math(EXPR day "1${day_text} - 100")
  if(unit STREQUAL "year")
    set(kind "RateKind::Annual")
  else()
    set(kind "RateKind::DailyStar")
  endif()
  string(APPEND entries "    {${year}, ${month}, ${day}, ${rate}, ${kind}},\n")
  math(EXPR count "${count} + 1")
endforeach()
if(count EQUAL 0)
  message(FATAL_ERROR "${INPUT}: no period")
endif()
file(WRITE "${OUTPUT}"
  "// Written by the build from ${INPUT}; do not edit.\n"
  "#include \"engine/built_in_rates.h\"\n\n"
  "namespace vistrel {\n\n"
  "namespace {\n\n"
  "constexpr PublishedRate History[] = {\n"
  "${entries}"
  "};\n\n"
  "}  // namespace\n\n"
  "std::span<const PublishedRate> BuiltInRateHistory() {\n"
  "    return History;\n"
  "}\n\n"
  "}  // namespace vistrel\n")
