# The Debian package, made from the build folder with `cpack -G DEB`:
# visemer_1.02_amd64.deb. Its Depends are worked out from the editor's
# libraries by dpkg-shlibdeps, plus what it needs at run time and links
# nothing for: the plugins that decode WAV and MP3 and a font metrically
# like the one its windows are laid out for, and the speech model that
# visemer-tool drafts with.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME visemer)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Visemer developers")
set(CPACK_PACKAGE_CONTACT "The Visemer developers <developers@visemer.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "lip-sync timing editor for mouth-shape animation")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Visemer times mouth-shape animation against a recorded voice. Load a WAV
or MP3 voice clip, fill a sequencer of numbered frames with phoneme labels
and delays, and preview the ten mouth drawings stepping in time with the
voice. The timing is saved as a small text project and exported as an
ActionScript clip-event script that drives a movie clip's mouth frames.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://visemer.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, fonts-liberation2")
if(VISEMER_TOOL)
    string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", pocketsphinx-en-us")
endif()
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "xdg-utils, xchm, gstreamer1.0-plugins-bad, gstreamer1.0-libav")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Only the program's own files: never the test programs or benchmarks.
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};ALL;/")
include(CPack)
