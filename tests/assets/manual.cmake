# Checks of the shipped manuals (poppler's pdfinfo, pdftotext and pdfimages; see
# deps/test-manual.txt).
add_test(NAME assets_manual
         COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/assets/manual/check_manual.py
                 ${CMAKE_SOURCE_DIR}/assets ${CMAKE_SOURCE_DIR}/Translator/translation.txt)
