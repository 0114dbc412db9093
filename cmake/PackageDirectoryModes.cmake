# Run by CPack on the staged package tree: every folder 0755 whatever the umask
# of whoever made the package, or an installed game could not read its data.
file(GLOB_RECURSE folders LIST_DIRECTORIES true "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(folder ${folders})
  if(IS_DIRECTORY "${folder}")
    file(CHMOD "${folder}" PERMISSIONS
         OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  endif()
endforeach()
