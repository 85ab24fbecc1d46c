# Installation (cmake --install) and the Debian package (cpack -G DEB, scripts/package):
# the three programs, the desktop entry with its icons, the AppStream metadata and man
# pages for vk4100ctl and vk4100-sim made from their --help text.
include(GNUInstallDirs)

set(VK_APP_ID com.ostra.VK4100ControlTool)
set(VK_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging/linux)

install(TARGETS vk4100ctl RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET vk4100-sim)
  install(TARGETS vk4100-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(TARGET vk4100-control-tool)
  install(TARGETS vk4100-control-tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

install(FILES ${VK_PACKAGING_DIR}/vk4100ctl.bash-completion
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME vk4100ctl)
install(FILES ${VK_PACKAGING_DIR}/${VK_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${VK_PACKAGING_DIR}/${VK_APP_ID}.metainfo.xml
  ${CMAKE_CURRENT_BINARY_DIR}/packaging/${VK_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/${VK_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${VK_PACKAGING_DIR}/${VK_APP_ID}.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 32 64 256)
  install(FILES ${PROJECT_SOURCE_DIR}/src/gui/res/pictures/app_${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME ${VK_APP_ID}.png)
endforeach()

# Man pages from the programs' own usage, so they never disagree with it.
set(VK_MAN_DIR ${CMAKE_CURRENT_BINARY_DIR}/man)
set(VK_MAN_PAGES "")
function(vk_man_page program summary)
  set(page ${VK_MAN_DIR}/${program}.1.gz)
  add_custom_command(OUTPUT ${page}
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${program}> -DNAME=${program}
            "-DSUMMARY=${summary}" -DVERSION=${PROJECT_VERSION} -DOUTPUT=${page}
            -P ${PROJECT_SOURCE_DIR}/cmake/man-page.cmake
    DEPENDS ${program} ${PROJECT_SOURCE_DIR}/cmake/man-page.cmake
    COMMENT "Man page of ${program}"
    VERBATIM)
  set(VK_MAN_PAGES ${VK_MAN_PAGES} ${page} PARENT_SCOPE)
endfunction()
vk_man_page(vk4100ctl "command-line control of VK-4100 cameras")
if(TARGET vk4100-sim)
  vk_man_page(vk4100-sim "simulated VK-4100 camera on a pseudo-terminal")
endif()
add_custom_target(man_pages ALL DEPENDS ${VK_MAN_PAGES})
install(FILES ${VK_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package. Library dependencies come from dpkg-shlibdeps; the Qt platform
# plugin is loaded at run time, so it is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vk4100-control-tool)
set(CPACK_PACKAGE_VENDOR Ostra)
set(CPACK_PACKAGE_CONTACT "Ostra <support@ostra.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "control tool for VK-4100 industrial area-scan cameras")
set(CPACK_PACKAGE_DESCRIPTION
  "The Qt desktop tool that configures VK-4100 cameras over a serial port or a frame\n\
grabber's Camera Link serial library, with vk4100ctl, a scriptable command-line\n\
tool, vk4100-sim, a simulated camera on a pseudo-terminal, and the Python module\n\
vk4100.")
set(CPACK_PACKAGE_FILE_NAME vk4100-control-tool_${PROJECT_VERSION}_amd64)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# The vk4100 module is built for the interpreter of the build machine.
if(VK_PYTHON_VERSION)
  string(REPLACE "." ";" VK_PYTHON_PARTS ${VK_PYTHON_VERSION})
  list(GET VK_PYTHON_PARTS 0 VK_PYTHON_MAJOR)
  list(GET VK_PYTHON_PARTS 1 VK_PYTHON_MINOR)
  math(EXPR VK_PYTHON_NEXT "${VK_PYTHON_MINOR} + 1")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "python3 (>= ${VK_PYTHON_VERSION}), python3 (<< ${VK_PYTHON_MAJOR}.${VK_PYTHON_NEXT})")
endif()
include(CPack)
