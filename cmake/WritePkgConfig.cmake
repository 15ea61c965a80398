# Run by `cmake --install`: writes the pkg-config file for the prefix being installed to
# (the configured one, or the one given with --prefix). Set before: CK80_PC_TEMPLATE,
# CK80_PC_OUTPUT, CK80_PC_VERSION, CK80_PC_LIBDIR and CK80_PC_INCLUDEDIR.
string(REGEX REPLACE "(.)/+$" "\\1" ck80_pc_prefix "${CMAKE_INSTALL_PREFIX}")
foreach(kind LIBDIR INCLUDEDIR)
  if(IS_ABSOLUTE "${CK80_PC_${kind}}")
    set(ck80_pc_${kind} "${CK80_PC_${kind}}")
  else()
    set(ck80_pc_${kind} "\${prefix}/${CK80_PC_${kind}}")
  endif()
endforeach()
configure_file("${CK80_PC_TEMPLATE}" "${CK80_PC_OUTPUT}" @ONLY)
