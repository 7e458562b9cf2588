# The shipped program's size: printed on every run, and a failure past the limit.
#   cmake -DPROGRAM=<path of varnel.exe> -DLIMIT=<bytes> -P ShippedSize.cmake
if(NOT EXISTS "${PROGRAM}")
  message(FATAL_ERROR "no shipped program at ${PROGRAM}")
endif()
file(SIZE "${PROGRAM}" size)
math(EXPR kib "${size} / 1024")
message("shipped varnel.exe: ${size} bytes (${kib} KB), limit ${LIMIT} bytes")
if(size GREATER LIMIT)
  message(FATAL_ERROR "varnel.exe has grown past ${LIMIT} bytes: look at the link map "
                      "(-Wl,-Map) for what came in")
endif()
