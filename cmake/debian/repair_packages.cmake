# Run by cpack once it has built the packages of a generator, to mend two things
# its Debian generator does its own way, with no switch against it:
# - a package holding shared libraries gets a postinst and a postrm that call
#   ldconfig; the runtime package's triggers file already has dpkg run it;
# - a -dbgsym package lists its files under absolute build paths in md5sums and
#   has no documentation folder; Debian's point to the one of their package.
# Each such package is rebuilt from its own contents with dpkg-deb.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  get_filename_component(name ${package} NAME)
  if(name MATCHES "^([^_]+)-dbgsym_[^/]*\\.ddeb$")
    set(debug_of ${CMAKE_MATCH_1})
  elseif(name MATCHES "^libmcxml1_[^/]*\\.deb$")
    set(debug_of "")
  else()
    continue()
  endif()
  set(tree ${CPACK_TOPLEVEL_DIRECTORY}/repair)
  file(REMOVE_RECURSE ${tree})
  execute_process(COMMAND dpkg-deb --raw-extract ${package} ${tree} COMMAND_ERROR_IS_FATAL ANY)
  if(debug_of)
    file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${tree} ${tree}/usr/*)
    set(sums "")
    foreach(file IN LISTS files)
      file(MD5 ${tree}/${file} sum)
      string(APPEND sums "${sum}  ${file}\n")
      file(CHMOD ${tree}/${file} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    endforeach()
    file(WRITE ${tree}/DEBIAN/md5sums "${sums}")
    file(MAKE_DIRECTORY ${tree}/usr/share/doc)
    file(CREATE_LINK ${debug_of} ${tree}/usr/share/doc/${debug_of}-dbgsym SYMBOLIC)
  else()
    file(REMOVE ${tree}/DEBIAN/postinst ${tree}/DEBIAN/postrm)
  endif()
  execute_process(COMMAND dpkg-deb --root-owner-group --build ${tree} ${package}
    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE ${tree})
endforeach()
