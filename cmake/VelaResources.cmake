# vela_add_resources(<target> <script.rc> [LANGUAGE <id>] [INCLUDE_DIRECTORIES <folder>...]
#                    [DEFINITIONS <NAME[=value]>...])
# Compiles a resource script with vela-rc at build time and builds the result into the target,
# so that the module finds its resources through its own handle and its file carries its
# version information. Works inside the kit's build (vela-rc is built first) and for
# applications using the installed package (Vela::vela-rc).

# Inside the kit's own build vela-rc is a target defined further on; the installed package
# brings it as the imported Vela::vela-rc.
if(EXISTS "${CMAKE_CURRENT_LIST_DIR}/../tools/rc/CMakeLists.txt")
  set(_VELA_RC_IN_TREE ON)
endif()

function(vela_add_resources target script)
  cmake_parse_arguments(V "" "LANGUAGE" "INCLUDE_DIRECTORIES;DEFINITIONS" ${ARGN})
  if(_VELA_RC_IN_TREE)
    set(_rc vela-rc)
  elseif(TARGET Vela::vela-rc)
    set(_rc Vela::vela-rc)
  else()
    message(FATAL_ERROR "vela_add_resources: the resource compiler vela-rc is not available")
  endif()
  get_filename_component(_script "${script}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  get_filename_component(_folder "${_script}" DIRECTORY)
  get_filename_component(_name "${_script}" NAME_WE)
  set(_outdir "${CMAKE_CURRENT_BINARY_DIR}/vela_rc/${target}")
  set(_out "${_outdir}/${_name}.rc.cpp")
  set(_args -I "${_folder}")
  foreach(_dir IN LISTS V_INCLUDE_DIRECTORIES)
    get_filename_component(_dir "${_dir}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    list(APPEND _args -I "${_dir}")
  endforeach()
  foreach(_def IN LISTS V_DEFINITIONS)
    list(APPEND _args -D "${_def}")
  endforeach()
  if(V_LANGUAGE)
    list(APPEND _args -l "${V_LANGUAGE}")
  endif()
  file(MAKE_DIRECTORY "${_outdir}")
  add_custom_command(
    OUTPUT "${_out}"
    COMMAND ${_rc} ${_args} --depfile "${_out}.d" -o "${_out}" "${_script}"
    DEPENDS "${_script}" ${_rc}
    DEPFILE "${_out}.d"
    COMMENT "Compiling resources ${_name}.rc for ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE "${_out}")
  target_link_libraries(${target} PRIVATE Vela::CE)
endfunction()
