# Run by CPack on the Debian package's files before it packs them: the copyright and the
# changelog go where Debian keeps a package's documents, and the manual page is compressed,
# as Debian's manual pages are. A plain `cmake --install` has none of this.
set(root "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
set(docs "${root}/share/doc/${CPACK_PACKAGE_NAME}")
file(MAKE_DIRECTORY "${docs}")
file(COPY_FILE "${CPACK_GORBULAX_PACKAGING_DIR}/copyright" "${docs}/copyright")
file(CHMOD "${docs}/copyright" FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

# gzip -n: no name and no time stamp in the header, so the same files make the same package.
function(compress from to)
  execute_process(COMMAND gzip -9nc "${from}" OUTPUT_FILE "${to}" RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "cannot compress ${from}")
  endif()
  file(CHMOD "${to}" FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endfunction()
compress("${CPACK_GORBULAX_PACKAGING_DIR}/changelog" "${docs}/changelog.Debian.gz")
set(manual "${root}/share/man/man6/gorbulax.6")
compress("${manual}" "${manual}.gz")
file(REMOVE "${manual}")
