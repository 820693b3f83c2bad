# Installation as a desktop program (cmake --install, any prefix and DESTDIR) and its Debian
# package (cpack). Included at the end of the top-level CMakeLists.txt: the rules for a
# program are made only when its target exists, so every add_subdirectory that defines one
# must come before the include.
include(GNUInstallDirs)

# Two packages from one build: the window, and the scenario runner on its own, so that a
# CI image without a desktop installs the runner without Qt or X. Every file installed
# belongs to one of them (the install rules' COMPONENT).
set(TXM9_WINDOW_PACKAGE txm9-simulator)
set(TXM9_RUNNER_PACKAGE txm9-scenario)
set(TXM9_PACKAGE_MAINTAINER "TXM-9 simulator developers <txm9-simulator@brasketholme.eu>"
    CACHE STRING "Maintainer named in the Debian packages")

set(txm9_data ${PROJECT_SOURCE_DIR}/data)
set(txm9_packaging ${CMAKE_CURRENT_LIST_DIR})
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The release named in the AppStream metadata and the packages' changelog is the version
# being built: a version raised in project() alone would ship metadata that contradicts it.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${txm9_data}/${TXM9_APP_ID}.metainfo.xml ${txm9_packaging}/changelog)
file(STRINGS ${txm9_data}/${TXM9_APP_ID}.metainfo.xml txm9_release REGEX "<release " LIMIT_COUNT 1)
if(NOT txm9_release MATCHES "version=\"${PROJECT_VERSION}\"")
    message(FATAL_ERROR "data/${TXM9_APP_ID}.metainfo.xml: the newest <release> is not "
                        "version ${PROJECT_VERSION}; add a release entry for it")
endif()
# The changelog is the source's, shared by both packages: it names the source package.
file(STRINGS ${txm9_packaging}/changelog txm9_changelog_top LIMIT_COUNT 1)
if(NOT txm9_changelog_top MATCHES "^${TXM9_WINDOW_PACKAGE} \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "packaging/changelog: the newest entry is not version "
                        "${PROJECT_VERSION}; add an entry for it")
endif()

# Everything the install rules take from the build; the package build makes only these.
add_custom_target(package-contents)

# Manual pages and the changelog are installed compressed, as Debian's tools expect; gzip -n
# leaves the name and time out of the header, so that the same source gives the same bytes.
function(txm9_compressed source output)
    add_custom_command(OUTPUT ${output}
        COMMAND gzip -9 -n -c ${source} > ${output}
        DEPENDS ${source}
        VERBATIM)
endfunction()

function(txm9_manual_page program component)
    set(page ${CMAKE_CURRENT_BINARY_DIR}/man/${program}.1)
    configure_file(${PROJECT_SOURCE_DIR}/doc/${program}.1.in ${page} @ONLY)
    txm9_compressed(${page} ${page}.gz)
    add_custom_target(${program}-manual-page ALL DEPENDS ${page}.gz)
    add_dependencies(package-contents ${program}-manual-page)
    install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${component})
endfunction()

# A program with its manual page, and the copyright and changelog that Debian keeps in each
# package's own documentation folder.
set(txm9_changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
txm9_compressed(${txm9_packaging}/changelog ${txm9_changelog})
add_custom_target(package-changelog ALL DEPENDS ${txm9_changelog})
add_dependencies(package-contents package-changelog)
set(txm9_components)
function(txm9_program target component)
    install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT ${component})
    add_dependencies(package-contents ${target})
    txm9_manual_page(${target} ${component})
    install(FILES ${txm9_packaging}/copyright ${txm9_changelog}
            DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${target} COMPONENT ${component})
    set(txm9_components ${txm9_components} ${component} PARENT_SCOPE)
endfunction()

if(TARGET txm9-simulator)
    txm9_program(txm9-simulator window)
    install(FILES ${txm9_data}/${TXM9_APP_ID}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT window)
    install(FILES ${txm9_data}/${TXM9_APP_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT window)
    install(DIRECTORY ${txm9_data}/icons/hicolor
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons COMPONENT window)
endif()

if(TARGET txm9-scenario)
    txm9_program(txm9-scenario runner)
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/scenarios/
            DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${TXM9_RUNNER_PACKAGE}/examples
            COMPONENT runner
            FILES_MATCHING PATTERN "*.scenario" PATTERN "*.png")
endif()

# The installed tree, checked as a desktop finds it: menu entry, AppStream metadata, icons,
# programs and their manual pages.
if(TARGET txm9-simulator)
    add_test(NAME installed_tree
             COMMAND bash ${txm9_packaging}/check-install ${CMAKE_BINARY_DIR} ${TXM9_APP_ID})
    set_tests_properties(installed_tree PROPERTIES TIMEOUT 60)
endif()

# The Debian packages: scripts/package builds them in build-package/.
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL ${txm9_components})
set(CPACK_PACKAGE_NAME ${TXM9_WINDOW_PACKAGE})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${TXM9_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link (Qt, libjpeg, libpng, ...) are read off the binaries by
# dpkg-shlibdeps, for each package its own.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})

# Descriptions: the first line is the summary; lines of at most 80 columns, a line of a
# single dot between paragraphs.
set(CPACK_DEBIAN_WINDOW_PACKAGE_NAME ${TXM9_WINDOW_PACKAGE})
set(CPACK_DEBIAN_WINDOW_DESCRIPTION [[front-panel simulator of the TXM-9 battery monitor
The simulator runs the TXM-9 battery monitor's own firmware logic inside one
window that stands in for the instrument's round front face and its two
analogue inputs: voltage and current measurement, the voltage alarm, peak
values, the English and French menus and the 114 x 64 dot LCD.
.
It is for firmware developers and demonstrators who want to exercise the
firmware without the hardware. The window comes with a desktop menu entry
and an icon, and saves sessions as scenarios for txm9-scenario.]])
# Qt loads its display back end as a plug-in at run time, which no linker entry shows:
# without it the window cannot open.
set(CPACK_DEBIAN_WINDOW_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_WINDOW_PACKAGE_RECOMMENDS ${TXM9_RUNNER_PACKAGE})

set(CPACK_DEBIAN_RUNNER_PACKAGE_NAME ${TXM9_RUNNER_PACKAGE})
set(CPACK_DEBIAN_RUNNER_DESCRIPTION [[headless scenario runner of the TXM-9 front-panel simulator
txm9-scenario plays scripted sessions on the TXM-9 battery monitor's front
panel without a window: the instrument's own firmware logic on deterministic
instrument time, with keys, knob turns and the two analogue inputs given in
a plain-text scenario, and checks what the display shows (texts, screens,
variables, whole frames against reference pictures).
.
It is for firmware tests and continuous integration: it needs neither a
display nor a toolkit, writes screenshots and a JUnit report, and comes with
example scenarios.]])
include(CPack)
