# Packs every file below ASSETS into the zip archive OUTPUT, flat, and puts the 4-byte marker
# "PK00" in front. Names are sorted and times, permissions and extra fields fixed, so the same
# assets always give the same bytes.
#   cmake -DASSETS=<dir> -DSTAGE=<scratch dir> -DOUTPUT=<file> -P MakeArchive.cmake

cmake_minimum_required(VERSION 3.25)
find_program(ZIP_TOOL zip REQUIRED)
file(GLOB_RECURSE files LIST_DIRECTORIES false ${ASSETS}/*)

file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE})
set(names)
foreach(path IN LISTS files)
    get_filename_component(name ${path} NAME)
    # The game names entries in Latin-1, one byte per character, as it reads "Dir.lst" and the
    # set files; a name such as "Gleiche Tonhöhe.Set" is stored so, not in this file system's UTF-8.
    if(NOT name MATCHES "^[ -~]*$")
        execute_process(COMMAND sh -c "printf %s \"$1\" | iconv -f UTF-8 -t ISO-8859-1" sh ${name}
                        OUTPUT_VARIABLE name COMMAND_ERROR_IS_FATAL ANY)
    endif()
    if(name IN_LIST names)
        message(FATAL_ERROR "assets: two files are named \"${name}\"; the archive is flat")
    endif()
    list(APPEND names ${name})
    file(COPY_FILE ${path} ${STAGE}/${name})
    file(CHMOD ${STAGE}/${name} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endforeach()
list(SORT names)

# zip stores local time; with one zone for touch and zip the stored time is fixed.
set(ENV{TZ} UTC)
execute_process(COMMAND touch -d "2020-01-01 00:00:00" ${names}
                WORKING_DIRECTORY ${STAGE} COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE ${STAGE}.zip)
# Pictures and sounds are compressed already: deflate gains them a few per cent at most, and would
# cost an inflate every time one is loaded (sixteen sounds and eight pictures at each start).
# (zip ignores -n together with a compression level.)
execute_process(COMMAND ${ZIP_TOOL} -q -X -D -nw -n .png:.ogg ${STAGE}.zip ${names}
                WORKING_DIRECTORY ${STAGE} COMMAND_ERROR_IS_FATAL ANY)

file(WRITE ${STAGE}.marker "PK00")
execute_process(COMMAND cat ${STAGE}.marker ${STAGE}.zip
                OUTPUT_FILE ${OUTPUT}.part COMMAND_ERROR_IS_FATAL ANY)
file(RENAME ${OUTPUT}.part ${OUTPUT})
file(REMOVE_RECURSE ${STAGE})
file(REMOVE ${STAGE}.zip ${STAGE}.marker)
