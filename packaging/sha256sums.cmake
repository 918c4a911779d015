# cmake -P sha256sums.cmake: writes DIR/SHA256SUMS, the SHA-256 of each of FILES (paths relative to
# DIR, joined by |) in the format that "sha256sum -c" checks, so a download can be checked with it.
foreach(var DIR FILES)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "sha256sums.cmake needs -D${var}=...")
  endif()
endforeach()
string(REPLACE "|" ";" FILES "${FILES}")
set(lines "")
foreach(file ${FILES})
  file(SHA256 ${DIR}/${file} sum)
  string(APPEND lines "${sum}  ${file}\n")
endforeach()
file(WRITE ${DIR}/SHA256SUMS "${lines}")
