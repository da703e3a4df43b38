# The Debian packages: mtd-demo (both programs, desktop entry, icons, manual pages, documents)
# and, where MPI was found, mtd-sim-mpi, so that the main package does not pull in OpenMPI.
include(GNUInstallDirs)
set(MTD_PACKAGE_MAINTAINER "The mtd-demo developers <mtd-demo@example.org>"
    CACHE STRING "Maintainer named in the Debian package")
set(doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/${CPACK_PACKAGE_NAME})
set(man_dir ${CMAKE_INSTALL_MANDIR}/man1)
set(man_source ${PROJECT_SOURCE_DIR}/docs/man)
set(man_build ${CMAKE_CURRENT_BINARY_DIR}/man)

# Debian wants manual pages and changelogs compressed, reproducibly (no name, no time stamp).
set(gzipped_files "")
function(mtd_gzip source output)
  add_custom_command(OUTPUT ${output}
    COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" sh ${source} ${output}
    DEPENDS ${source}
    COMMENT "Compressing ${source}"
    VERBATIM)
  set(gzipped_files ${gzipped_files} ${output} PARENT_SCOPE)
endfunction()

# mtd_man_page(PAGE COMPONENT): docs/man/PAGE.1.in with the project's version filled in,
# compressed and installed.
function(mtd_man_page page component)
  configure_file(${man_source}/${page}.1.in ${man_build}/${page}.1 @ONLY)
  mtd_gzip(${man_build}/${page}.1 ${man_build}/${page}.1.gz)
  set(gzipped_files ${gzipped_files} PARENT_SCOPE)
  install(FILES ${man_build}/${page}.1.gz DESTINATION ${man_dir} COMPONENT ${component})
endfunction()

# --- The programs ---
set(programs "")
foreach(program mtd-demo mtd-sim)
  if(TARGET ${program})
    list(APPEND programs ${program})
  endif()
endforeach()
install(TARGETS ${programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT main)
foreach(program ${programs})
  mtd_man_page(${program} main)
endforeach()

# --- The desktop entry and the icon theme's sizes ---
if(TARGET mtd-demo)
  install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/mtd-demo.desktop
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications COMPONENT main)
  foreach(size 16 32 48)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/mtd-demo-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps
            RENAME mtd-demo.png COMPONENT main)
  endforeach()
endif()

# --- Documents: README, example configurations, copyright, changelog ---
file(STRINGS ${CMAKE_CURRENT_SOURCE_DIR}/changelog changelog_head LIMIT_COUNT 1)
if(NOT changelog_head MATCHES "^mtd-demo \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog starts with '${changelog_head}': its first entry "
                      "must be for version ${PROJECT_VERSION}, the project's version")
endif()
mtd_gzip(${CMAKE_CURRENT_SOURCE_DIR}/changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${CMAKE_CURRENT_SOURCE_DIR}/copyright
              ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
        DESTINATION ${doc_dir} COMPONENT main)
# The README's pictures, where its links point.
install(FILES ${PROJECT_SOURCE_DIR}/docs/screenshot.png ${PROJECT_SOURCE_DIR}/docs/curves.png
        DESTINATION ${doc_dir}/docs COMPONENT main)
install(FILES ${PROJECT_SOURCE_DIR}/examples/init.txt
        DESTINATION ${doc_dir}/examples COMPONENT main)
install(FILES ${PROJECT_SOURCE_DIR}/examples/long-block/init.txt
        DESTINATION ${doc_dir}/examples/long-block COMPONENT main)

# --- mtd-sim-mpi, a package of its own ---
set(CPACK_COMPONENTS_ALL main)
if(TARGET mtd-sim-mpi)
  install(TARGETS mtd-sim-mpi RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT mpi)
  mtd_man_page(mtd-sim-mpi mpi)
  # Debian wants copyright and changelog in every package's own doc directory.
  install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/mtd-sim-mpi COMPONENT mpi)
  list(APPEND CPACK_COMPONENTS_ALL mpi)
endif()
add_custom_target(mtd_package_files ALL DEPENDS ${gzipped_files})

# --- Package settings ---
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_CONTACT "${MTD_PACKAGE_MAINTAINER}")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends from the libraries the binaries link (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

set(CPACK_DEBIAN_MAIN_PACKAGE_NAME mtd-demo)
# Each package's synopsis is the first line of its description (CPack would put one summary
# on both packages).
set(CPACK_DEBIAN_MAIN_DESCRIPTION "${MTD_PACKAGE_SYNOPSIS}\n${CPACK_PACKAGE_DESCRIPTION}")
# mtd-sim sweep draws its plots with gnuplot and mtd-sim record makes videos with ffmpeg, both
# external programs; everything else runs without.
set(CPACK_DEBIAN_MAIN_PACKAGE_RECOMMENDS "gnuplot-nox | gnuplot, ffmpeg")

set(CPACK_DEBIAN_MPI_PACKAGE_NAME mtd-sim-mpi)
# mpirun comes with openmpi-bin, which the MPI library does not pull in.
set(CPACK_DEBIAN_MPI_PACKAGE_DEPENDS "mtd-demo (= ${PROJECT_VERSION}), openmpi-bin")
set(CPACK_DEBIAN_MPI_PACKAGE_SECTION science)
set(CPACK_DEBIAN_MPI_DESCRIPTION "\
error-rate sweeps of mtd-sim over MPI
mtd-sim-mpi runs the error-rate sweep of mtd-sim (mtd-sim sweep) on several
processes and hosts through MPI (Open MPI), with the same arguments and the
same printed counts as a single process.")
