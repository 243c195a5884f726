# Checks of the shipped pictures and fonts (Debian's Python with Pillow,
# numpy and the FreeType bindings; see deps/test-pictures.txt).
add_test(NAME assets_pictures
         COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/assets/pictures/check_pictures.py
                 ${CMAKE_SOURCE_DIR}/assets)
add_test(NAME assets_fonts
         COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/assets/pictures/check_fonts.py
                 ${CMAKE_SOURCE_DIR}/assets ${CMAKE_SOURCE_DIR}/Translator)
