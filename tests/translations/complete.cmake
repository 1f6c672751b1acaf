# The English catalogue is complete and up to date: lupdate over the sources, as the target
# update_translations runs it, changes nothing in a copy of it. A text added to the code without
# its translation would show German to English users.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
get_filename_component(name "${CATALOGUE}" NAME)
set(copy "${WORK}/${name}")
configure_file("${CATALOGUE}" "${copy}" COPYONLY)
separate_arguments(options UNIX_COMMAND "${OPTIONS}")
execute_process(COMMAND "${LUPDATE}" ${options} "${SOURCES}" -ts "${copy}" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "lupdate failed on ${SOURCES}")
endif()

file(READ "${copy}" updated)
string(REGEX MATCHALL "<source>[^<]*</source>[ \n]*<translation type=\"unfinished\"" untranslated
  "${updated}")
if(untranslated)
  string(REGEX REPLACE "</source>[ \n]*<translation type=\"unfinished\"" "" untranslated
    "${untranslated}")
  string(REPLACE "<source>" "\n  " untranslated "${untranslated}")
  message(FATAL_ERROR "Texts without an English translation in ${name}:${untranslated}\n"
    "Build the target update_translations and translate them.")
endif()
file(READ "${CATALOGUE}" original)
if(NOT original STREQUAL updated)
  message(FATAL_ERROR "${name} is not up to date with the sources; build the target "
    "update_translations.")
endif()
