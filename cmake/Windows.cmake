# VROK.exe, the test driver and the Win32 tests (run under Wine when cross-compiling).
add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601 NOMINMAX)
if(MINGW)
    # No "GCC: (GNU) ..." note of 32 bytes from every object file in the program's read-only data.
    add_compile_options(-fno-ident)
endif()

set(VROK_WIN32_SOURCES
    app/app_state.cpp
    app/dpi.cpp
    app/settings_file.cpp
    app/main_window.cpp
    app/timer_tick.cpp
    app/tray_icon.cpp
    dialogs/help.cpp
    sound/sound_engine.cpp
    sound/sound_object.cpp
    sound/wave_decode.cpp
    shooting/shooting_window.cpp
    shooting/shot_impact.cpp
    shooting/shot_art.cpp
    shooting/screen_canvas.cpp
    dialogs/about_dialog.cpp
    dialogs/config_dialog.cpp
    dialogs/dialog_fit.cpp
    dialogs/sound_chooser.cpp
    dialogs/statistics_dialog.cpp
)

# Code off the firing path (start-up, settings, dialogs, wave loading and converting) is built for
# size: the program stays small, and only a bullet and a gun sound tick need every cycle.
set(VROK_COLD_SOURCES
    app/winmain.cpp
    app/app_state.cpp
    app/app_text.cpp
    app/dpi.cpp
    app/main_window.cpp
    app/settings.cpp
    app/settings_file.cpp
    app/tray_icon.cpp
    dialogs/about_dialog.cpp
    dialogs/config_dialog.cpp
    dialogs/config_values.cpp
    dialogs/dialog_fit.cpp
    dialogs/help.cpp
    dialogs/sound_chooser.cpp
    dialogs/statistics_dialog.cpp
    sound/wave.cpp
    sound/wave_convert.cpp
    sound/wave_decode.cpp
)
if(MSVC)
    set_source_files_properties(${VROK_COLD_SOURCES} PROPERTIES COMPILE_OPTIONS /O1)
else()
    set_source_files_properties(${VROK_COLD_SOURCES} PROPERTIES COMPILE_OPTIONS -Os)
endif()

# Everything but WinMain, so the tests can drive the same code.
add_library(vrokcore STATIC ${VROK_PORTABLE_SOURCES} ${VROK_WIN32_SOURCES})
target_include_directories(vrokcore PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(vrokcore PUBLIC user32 gdi32 kernel32 winmm shell32 comdlg32 version)

add_executable(VROK WIN32 app/winmain.cpp resources/VROK.rc)
target_link_libraries(VROK PRIVATE vrokcore)
set_target_properties(VROK PROPERTIES OUTPUT_NAME VROK RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
if(MINGW)
    # No MinGW runtime DLLs beside the program.
    target_link_options(VROK PRIVATE -static -static-libgcc -static-libstdc++ $<$<CONFIG:Release>:-s>)
endif()
if(MSVC)
    # The resource script carries the manifest; the linker must not add a second one.
    target_link_options(VROK PRIVATE /MANIFEST:NO)
endif()

# The default sounds live beside the program, where the default Settings look for them.
set(VROK_DEFAULT_SOUNDS vrokgun.wav vrokgren.wav vrokhlvb.wav vrokkuck.wav teckuc1.wav)
foreach(sound ${VROK_DEFAULT_SOUNDS})
    add_custom_command(TARGET VROK POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/resources/${sound}
                $<TARGET_FILE_DIR:VROK>/${sound})
endforeach()

set(VROK_TEST_DEFAULT OFF)
if(CMAKE_CROSSCOMPILING AND EXISTS /usr/src/googletest/CMakeLists.txt)
    set(VROK_TEST_DEFAULT ON)
endif()
option(VROK_BUILD_TESTS "Build the Win32 tests and the test driver" ${VROK_TEST_DEFAULT})
if(VROK_BUILD_TESTS)
    enable_testing()
    add_subdirectory(tools)
    add_subdirectory(tests/win32)
    add_subdirectory(tests/e2e)
    add_subdirectory(bench)
endif()

include(cmake/Package.cmake)
