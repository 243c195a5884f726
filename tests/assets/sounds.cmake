# Card-set content: set files, "Dir.lst" and the sounds, checked from the audio.
add_test(NAME assets_sounds
         COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/assets/sounds/check_sounds.py
                 --assets ${CMAKE_SOURCE_DIR}/assets
                 --score ${CMAKE_SOURCE_DIR}/tools/sounds)
# The check itself: its analysis on known signals, and faults it must catch.
add_test(NAME assets_sounds_check_catches_faults
         COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/assets/sounds/test_check_sounds.py)
# Each fault case copies the assets and analyses a whole set; on a busy machine that takes a while.
set_tests_properties(assets_sounds assets_sounds_check_catches_faults PROPERTIES TIMEOUT 3600)
# Longer than most tests: a fresh checkout starts them early (the cost is about their seconds).
set_tests_properties(assets_sounds PROPERTIES COST 40)
set_tests_properties(assets_sounds_check_catches_faults PROPERTIES COST 100)
