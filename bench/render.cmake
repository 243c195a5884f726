# Frame time of a game-like scene; run by hand under a display (see bench/render_bench.cpp).
# It shares the scene and the frame grabbing of the rendering tests.
find_package(PNG REQUIRED)
add_executable(render_bench
    ${CMAKE_SOURCE_DIR}/bench/render_bench.cpp
    ${CMAKE_SOURCE_DIR}/tests/scene_render/GameScene.cpp
    ${CMAKE_SOURCE_DIR}/tests/media_draw/FrameGrab.cpp
)
target_link_libraries(render_bench PRIVATE scene media_draw PNG::PNG)
target_compile_definitions(render_bench PRIVATE TONVELLA_ASSETS_U16=u"${CMAKE_SOURCE_DIR}/assets")
