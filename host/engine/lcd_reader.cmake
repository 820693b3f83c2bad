# Reads texts and numerals back off the frame buffer by matching the instrument's own glyphs:
# plain C++ on the firmware's LCD library, no toolkit and no test framework, so that the
# tests, the window and a headless scenario runner can all ask what the screen shows.
add_library(txm9_lcd_reader STATIC
    ${CMAKE_CURRENT_LIST_DIR}/lcd_text_reader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/read_bands.cpp
    ${CMAKE_CURRENT_LIST_DIR}/reader_faces.cpp
    ${CMAKE_CURRENT_LIST_DIR}/screen_texts.cpp
)
# Included as "lcd_text_reader.h"; the tests' own lcd_reader.h wraps it in assertions.
target_include_directories(txm9_lcd_reader PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(txm9_lcd_reader PUBLIC txm9_lcd)
