# Manual pages for the installed commands, made from their own --help and
# --version with help2man, so that a page never tells other than the command.
#
#   corvalen_man_page(<target> DESCRIPTION <one line> [NAME <installed name>] [INCLUDE <file>])
#
# makes <name>.1.gz (NAME defaults to the target's name) and installs it in
# section 1. The command must answer --help and --version without a display,
# its --version must print "<name> <version>", and its usage must call it by
# the name it was started as. INCLUDE adds sections written for help2man's
# --include (FILES, ENVIRONMENT, SEE ALSO ...). The page is made only where
# help2man is installed (scripts/install-deps.sh --packaging); elsewhere
# installing stops with a message that says so, rather than make a package
# without its manual pages.
find_program(HELP2MAN help2man)

function(corvalen_man_page target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "NAME;DESCRIPTION;INCLUDE" "")
  if(NOT arg_NAME)
    set(arg_NAME ${target})
  endif()
  if(NOT arg_DESCRIPTION)
    message(FATAL_ERROR "corvalen_man_page(${target}): DESCRIPTION is missing")
  endif()
  if(CORVALEN_SANITIZE)
    return() # a sanitized build is for tests only, never installed
  endif()
  if(NOT HELP2MAN)
    install(CODE "message(FATAL_ERROR
      \"The manual page of ${arg_NAME} needs help2man: run scripts/install-deps.sh --packaging\")")
    return()
  endif()

  set(dir ${CMAKE_BINARY_DIR}/man)
  set(page ${dir}/${arg_NAME}.1)
  set(include_args)
  set(include_depends)
  if(arg_INCLUDE)
    get_filename_component(include_file ${arg_INCLUDE} ABSOLUTE)
    set(include_args --include=${include_file})
    set(include_depends ${include_file})
  endif()
  # help2man runs the command by its installed name, found through PATH, so
  # that the page and its usage line carry that name.
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}/bin
    COMMAND ${CMAKE_COMMAND} -E create_symlink $<TARGET_FILE:${target}> ${dir}/bin/${arg_NAME}
    COMMAND ${CMAKE_COMMAND} -E env "PATH=${dir}/bin:$ENV{PATH}"
            ${HELP2MAN} --no-info --section=1 "--name=${arg_DESCRIPTION}" ${include_args}
            --output=${page} ${arg_NAME}
    COMMAND gzip -9nf ${page}
    DEPENDS ${target} ${include_depends}
    COMMENT "Manual page ${arg_NAME}(1)"
    VERBATIM)
  add_custom_target(man_${arg_NAME} ALL DEPENDS ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
