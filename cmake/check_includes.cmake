# Fails when a source file of FOLDER includes a header of a part of the program
# that is not in ALLOWED (its own part is always allowed), or includes any
# header by a path that climbs out of its folder ("../"). A part is a top-level
# folder, except that each folder of platform/ is a part of its own
# (platform/audio, platform/registry, ...); "platform" in ALLOWED allows all of
# them. Both #include "part/..." and #include <part/...> count.
# Run as: cmake -DROOT=<repo> -DFOLDER=<folder> -DALLOWED=<a,b,c> -P check_includes.cmake
set(tops app controllers core decks mixer playlist tags analysis engine controls tagweave env platform)
string(REPLACE "," ";" ALLOWED "${ALLOWED}")

# The part `path` (a folder or an included header, relative to ROOT) is in.
function(part_of path out)
    if(path MATCHES "^platform/([a-z_]+)(/|$)")
        set(${out} "platform/${CMAKE_MATCH_1}" PARENT_SCOPE)
    else()
        string(REGEX REPLACE "/.*" "" top "${path}")
        set(${out} "${top}" PARENT_SCOPE)
    endif()
endfunction()

part_of("${FOLDER}" own)
file(GLOB_RECURSE sources ${ROOT}/${FOLDER}/*.h ${ROOT}/${FOLDER}/*.cpp)
set(bad "")
foreach(source ${sources})
    file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    foreach(line ${includes})
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]*)[\">].*" "\\1" path "${line}")
        string(REGEX REPLACE "/.*" "" top "${path}")
        part_of("${path}" part)
        set(refused FALSE)
        if(path MATCHES "(^|/)\\.\\./")
            set(refused TRUE)
        elseif(path MATCHES "/" AND NOT part STREQUAL own)
            list(FIND tops "${top}" known)
            list(FIND ALLOWED "${part}" allowed)
            if(part MATCHES "^platform/")
                list(FIND ALLOWED platform all_platform)
            else()
                set(all_platform -1)
            endif()
            if(known GREATER -1 AND allowed EQUAL -1 AND all_platform EQUAL -1)
                set(refused TRUE)
            endif()
        endif()
        if(refused)
            file(RELATIVE_PATH rel ${ROOT} ${source})
            string(APPEND bad "\n  ${rel}: ${line}")
        endif()
    endforeach()
endforeach()
if(bad)
    list(JOIN ALLOWED ", " allowed)
    message(FATAL_ERROR
        "${FOLDER}/ may include only ${own}/ and ${allowed}, and never by \"../\":${bad}")
endif()
