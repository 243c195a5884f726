# The two blobs the program carries: the asset archive "tt.zip" made from assets/, and the
# translation table "translation.ini" made from Translator/translation.txt. Both are placed into
# <target> by an assembler file, which is far quicker to build than generated arrays.

add_executable(tonvella_utf16le ${CMAKE_SOURCE_DIR}/tools/blobs/ToUtf16Le.cpp)

function(tonvella_add_game_blobs target)
    set(assets_dir ${CMAKE_SOURCE_DIR}/assets)
    set(archive ${CMAKE_CURRENT_BINARY_DIR}/tt.zip)
    set(translation_source ${CMAKE_SOURCE_DIR}/Translator/translation.txt)
    set(translation ${CMAKE_CURRENT_BINARY_DIR}/translation.ini)

    # A new or removed asset re-runs the configuration, so the archive is remade.
    file(GLOB_RECURSE asset_files LIST_DIRECTORIES false CONFIGURE_DEPENDS ${assets_dir}/*)
    add_custom_command(
        OUTPUT ${archive}
        COMMAND ${CMAKE_COMMAND} -DASSETS=${assets_dir} -DSTAGE=${CMAKE_CURRENT_BINARY_DIR}/tt-stage
                -DOUTPUT=${archive} -P ${CMAKE_SOURCE_DIR}/cmake/MakeArchive.cmake
        DEPENDS ${asset_files} ${CMAKE_SOURCE_DIR}/cmake/MakeArchive.cmake
        COMMENT "Packing assets/ into tt.zip"
        VERBATIM)
    add_custom_command(
        OUTPUT ${translation}
        COMMAND tonvella_utf16le ${translation_source} ${translation}
        DEPENDS tonvella_utf16le ${translation_source}
        COMMENT "Converting the translation table to UTF-16LE"
        VERBATIM)

    set(TONVELLA_ARCHIVE_BLOB ${archive})
    set(TONVELLA_TRANSLATION_BLOB ${translation})
    set(blobs_asm ${CMAKE_CURRENT_BINARY_DIR}/GameBlobs.S)
    configure_file(${CMAKE_CURRENT_SOURCE_DIR}/GameBlobs.S.in ${blobs_asm} @ONLY)
    # The assembler's dependency scan does not see .incbin, so name the blobs here.
    set_source_files_properties(${blobs_asm} PROPERTIES OBJECT_DEPENDS "${archive};${translation}")
    target_sources(${target} PRIVATE ${blobs_asm})
endfunction()
