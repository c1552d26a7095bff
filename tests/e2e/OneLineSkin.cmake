# Makes the default skin without its two-line list option (cmake -DFROM=skin -DTO=folder -P):
# the skin a test uses to see rows drawn as they are without that option.
file(REMOVE_RECURSE "${TO}")
file(COPY "${FROM}/" DESTINATION "${TO}")
file(READ "${TO}/ui/main.xml" xml)
string(REGEX REPLACE "[ \t]*<twoline>[^<]*</twoline>[^\n]*\n" "" changed "${xml}")
if(changed STREQUAL xml)
  message(FATAL_ERROR "the default skin's list has no <twoline> option to leave out")
endif()
file(WRITE "${TO}/ui/main.xml" "${changed}")
