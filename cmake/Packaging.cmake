# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: `cmake --build build --target package` makes
# permora_<version>_<arch>.deb from the install rules of the project.

set(PERMORA_MAINTAINER "The Permora developers <maintainers@permora.invalid>")
set(_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/${PROJECT_NAME})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian/copyright DESTINATION ${_doc_dir})

# The package is native (its version has no Debian revision), so its changelog is
# changelog.gz, compressed the way Debian does it: best compression, no name or time stamp.
execute_process(COMMAND date -u -R -d ${PERMORA_RELEASE_DATE}
                OUTPUT_VARIABLE PERMORA_CHANGELOG_DATE OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
set(_changelog ${CMAKE_BINARY_DIR}/debian/changelog)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/changelog.in ${_changelog} @ONLY)
execute_process(COMMAND gzip -9nc INPUT_FILE ${_changelog} OUTPUT_FILE ${_changelog}.gz
                COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${_changelog}.gz DESTINATION ${_doc_dir})

# Debian keeps manual pages gzip-compressed; the programs install them as plain roff.
install(CODE "
    file(GLOB _pages \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_MANDIR}/man*/*.[1-9]\")
    foreach(_page IN LISTS _pages)
        execute_process(COMMAND gzip -9nf \${_page} COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
# All four parts of the version: CPack would otherwise keep only three.
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGE_CONTACT ${PERMORA_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${PERMORA_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "editor for the file-security templates of network storage")
# CPack puts the summary above this as the first line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Permora builds the file-security templates that a network storage system
applies to its volumes: an ordered list of storage paths, each with a
security style, a security level and an NTFS security descriptor of allow,
deny and audit entries per account. Templates are saved as text files of
SDDL lines, in UTF-16 or 8-bit text, and existing files can be imported.

The package holds the editor (permora) and its command-line companion
(permora-cli), which checks, shows, converts, compares and builds templates
from scripts; its capture and verify commands read the security of an SMB
share's folders into a template and compare a template with a share.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# permora-cli's capture and verify run their SMB helper on Debian's python3 with Samba's
# client bindings; no library scan sees a script's needs.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "python3, python3-samba")
# Started at run time for the headless start, so the library scan cannot see them.
# Qt's own translations give its standard buttons and file dialog the window's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "tigervnc-standalone-server, tigervnc-tools, xauth, openbox, qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
