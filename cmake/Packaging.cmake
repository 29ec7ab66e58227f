# What leaves the build tree: natively, `vehmira` and its man page for
# `make install`; in the Windows build, the language file beside Vehmira.exe
# and the download zip (`make dist`).
include(GNUInstallDirs)

if(TARGET vehmira AND NOT CMAKE_CROSSCOMPILING)
  # The man page is written from the built program's own --help, so it cannot
  # drift from the options the program takes.
  set(VEHMIRA_MAN_PAGE "${PROJECT_BINARY_DIR}/man/vehmira.1")
  add_custom_command(OUTPUT "${VEHMIRA_MAN_PAGE}"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${PROJECT_BINARY_DIR}/man"
    COMMAND "${PROJECT_SOURCE_DIR}/scripts/help-to-man.sh" "$<TARGET_FILE:vehmira>" "${VEHMIRA_MAN_PAGE}"
    DEPENDS vehmira "${PROJECT_SOURCE_DIR}/scripts/help-to-man.sh" "${PROJECT_SOURCE_DIR}/scripts/help-to-man.awk"
    COMMENT "Writing vehmira.1 from vehmira --help" VERBATIM)
  add_custom_target(vehmira_man ALL DEPENDS "${VEHMIRA_MAN_PAGE}")

  install(TARGETS vehmira RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
  install(FILES "${VEHMIRA_MAN_PAGE}" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")

  add_test(NAME vehmira_man_page
           COMMAND "${PROJECT_SOURCE_DIR}/tests/cli/ManPageTest.sh" "$<TARGET_FILE:vehmira>" "${VEHMIRA_MAN_PAGE}")
endif()

if(WIN32 AND TARGET Vehmira AND TARGET vehmira)
  # Vehmira.lng beside Vehmira.exe, where the language dialog looks for it.
  set(VEHMIRA_LANGUAGE_SOURCE "${PROJECT_SOURCE_DIR}/gui/resources/Vehmira.lng")
  set(VEHMIRA_LANGUAGE_FILE "${PROJECT_BINARY_DIR}/gui/Vehmira.lng")
  add_custom_command(OUTPUT "${VEHMIRA_LANGUAGE_FILE}"
    COMMAND "${PROJECT_SOURCE_DIR}/scripts/windows-text.sh" utf16 "${VEHMIRA_LANGUAGE_SOURCE}" "${VEHMIRA_LANGUAGE_FILE}"
    DEPENDS "${VEHMIRA_LANGUAGE_SOURCE}" "${PROJECT_SOURCE_DIR}/scripts/windows-text.sh"
    COMMENT "Writing Vehmira.lng in UTF-16" VERBATIM)
  add_custom_target(vehmira_language_file DEPENDS "${VEHMIRA_LANGUAGE_FILE}")
  add_dependencies(Vehmira vehmira_language_file)

  set(VEHMIRA_DIST_STAGE "${PROJECT_BINARY_DIR}/dist")
  set(VEHMIRA_DIST_ZIP "${PROJECT_SOURCE_DIR}/dist/Vehmira-${PROJECT_VERSION}-win64.zip")
  set(VEHMIRA_DIST_TEXTS "${VEHMIRA_DIST_STAGE}/README.txt" "${VEHMIRA_DIST_STAGE}/LICENSE.txt")
  add_custom_command(OUTPUT ${VEHMIRA_DIST_TEXTS}
    COMMAND "${PROJECT_SOURCE_DIR}/scripts/windows-text.sh" utf8 "${PROJECT_SOURCE_DIR}/packaging/README.txt"
            "${VEHMIRA_DIST_STAGE}/README.txt" "VERSION=${PROJECT_VERSION}"
    COMMAND "${PROJECT_SOURCE_DIR}/scripts/windows-text.sh" utf8 "${PROJECT_SOURCE_DIR}/LICENSE"
            "${VEHMIRA_DIST_STAGE}/LICENSE.txt"
    DEPENDS "${PROJECT_SOURCE_DIR}/packaging/README.txt" "${PROJECT_SOURCE_DIR}/LICENSE"
            "${PROJECT_SOURCE_DIR}/scripts/windows-text.sh"
    COMMENT "Writing README.txt and LICENSE.txt for Windows" VERBATIM)
  add_custom_command(OUTPUT "${VEHMIRA_DIST_ZIP}"
    COMMAND "${PROJECT_SOURCE_DIR}/scripts/make-dist.sh" "${VEHMIRA_DIST_ZIP}" "$<TARGET_FILE:Vehmira>"
            "$<TARGET_FILE:vehmira>" "${VEHMIRA_LANGUAGE_FILE}" ${VEHMIRA_DIST_TEXTS}
    DEPENDS Vehmira vehmira "${VEHMIRA_LANGUAGE_FILE}" ${VEHMIRA_DIST_TEXTS}
            "${PROJECT_SOURCE_DIR}/scripts/make-dist.sh"
    COMMENT "Packing dist/Vehmira-${PROJECT_VERSION}-win64.zip" VERBATIM)
  add_custom_target(vehmira_dist DEPENDS "${VEHMIRA_DIST_ZIP}")
  # `make test-dist` drives the unpacked Vehmira.exe through its first start with this.
  add_executable(vehmira_first_start_probe EXCLUDE_FROM_ALL "${PROJECT_SOURCE_DIR}/tests/dist/FirstStartProbe.cpp")
  target_link_libraries(vehmira_first_start_probe PRIVATE vehmira_gui)
  target_link_libraries(vehmira_first_start_probe PRIVATE version)
  target_link_options(vehmira_first_start_probe PRIVATE -municode)
  # For `make test-dist`: which zip the build wrote, and its version.
  file(WRITE "${VEHMIRA_DIST_STAGE}/zip.txt" "${VEHMIRA_DIST_ZIP}\n${PROJECT_VERSION}\n")
endif()
