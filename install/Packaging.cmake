# The Debian packages, made from the build folder with `cpack -G DEB`, one
# for each install component: visemer_1.02_amd64.deb, the editor, and
# visemer-tool_1.02_amd64.deb, the companion tool (when it was built). Each
# installs alone. Their Depends are worked out from their programs'
# libraries by dpkg-shlibdeps, plus what they need at run time and link
# nothing for: the plugins that decode WAV and MP3, for the editor a font
# metrically like the one its windows are laid out for, and for the tool
# the speech model it drafts with.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME visemer)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Visemer developers")
set(CPACK_PACKAGE_CONTACT "The Visemer developers <developers@visemer.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL editor)
if(VISEMER_TOOL)
    list(APPEND CPACK_COMPONENTS_ALL tool)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://visemer.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_DEBIAN_EDITOR_PACKAGE_NAME visemer)
set(CPACK_DEBIAN_EDITOR_DESCRIPTION "lip-sync timing editor for mouth-shape animation
Visemer times mouth-shape animation against a recorded voice. Load a WAV
or MP3 voice clip, fill a sequencer of numbered frames with phoneme labels
and delays, and preview the ten mouth drawings stepping in time with the
voice. The timing is saved as a small text project and exported as an
ActionScript clip-event script that drives a movie clip's mouth frames.")
set(CPACK_DEBIAN_EDITOR_PACKAGE_DEPENDS
    "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, fonts-liberation2")
set(CPACK_DEBIAN_EDITOR_PACKAGE_RECOMMENDS
    "xdg-utils, xchm, gstreamer1.0-plugins-bad, gstreamer1.0-libav")
if(VISEMER_TOOL)
    set(CPACK_DEBIAN_EDITOR_PACKAGE_SUGGESTS visemer-tool)
endif()

set(CPACK_DEBIAN_TOOL_PACKAGE_NAME visemer-tool)
set(CPACK_DEBIAN_TOOL_DESCRIPTION "draft, convert and check lip-sync timings from a voice
visemer-tool drafts a mouth-shape timing from a voice clip, alone or
aligned to the dialogue's text, and writes it as a project the Visemer
editor opens. It converts timings to and from cue lists, switch data and
JSON, exports the editor's clip-event script and checks project files.
It drafts thousands of lines at once, skipping what is up to date and
keeping projects corrected by hand, and draws a timing as a picture.")
set(CPACK_DEBIAN_TOOL_PACKAGE_DEPENDS
    "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, pocketsphinx-en-us, fonts-dejavu-core")
set(CPACK_DEBIAN_TOOL_PACKAGE_RECOMMENDS "gstreamer1.0-plugins-bad, gstreamer1.0-libav")
set(CPACK_DEBIAN_TOOL_PACKAGE_SUGGESTS visemer)

# Only the program's own files: never the test programs or benchmarks.
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};ALL;/")
include(CPack)
