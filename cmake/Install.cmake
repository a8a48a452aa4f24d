# What `cmake --install` puts where.

set(CALIDUS_APP_ID org.example.calidus.Calidus)

install(TARGETS Calidus CalidusXL RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${CMAKE_SOURCE_DIR}/res/desktop/${CALIDUS_APP_ID}.desktop
              ${CMAKE_SOURCE_DIR}/res/desktop/${CALIDUS_APP_ID}XL.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/res/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
configure_file(${CMAKE_SOURCE_DIR}/res/desktop/${CALIDUS_APP_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/${CALIDUS_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/${CALIDUS_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/LICENSE
              ${CMAKE_SOURCE_DIR}/res/debian/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The data folder: the warning sound and the plug-in files, each looked up beside the program
# before it is looked up here. Whatever res/data holds is installed.
file(GLOB CALIDUS_DATA_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/data/*)
if(CALIDUS_DATA_FILES)
    install(FILES ${CALIDUS_DATA_FILES} DESTINATION ${CALIDUS_INSTALL_DATA_SUBDIR})
endif()

# System folders: the system reads these and no others, so a prefix other than /usr and
# /usr/local still installs into /usr. The register helper's polkit policy belongs with them.
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr" OR CMAKE_INSTALL_PREFIX STREQUAL "/usr/local")
    set(calidus_system_lib lib)
else()
    set(calidus_system_lib /usr/lib)
endif()
install(FILES ${CMAKE_SOURCE_DIR}/res/desktop/calidus-msr.conf
        DESTINATION ${calidus_system_lib}/modules-load.d)
