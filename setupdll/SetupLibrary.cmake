# How a SETUP.dll is made (the stand-in in setupdll/ and the test double in tests/setup_double/): output
# name exactly SETUP.dll, the runtime linked in statically, and MainA exported undecorated.
# Include it from each folder that uses it: it sets SETUP_DEF_FILE and SETUP_KILL_AT in that folder.

# The export file for this architecture: MainA is __stdcall and so decorated "MainA@8" on i686, where
# --kill-at then exports and imports it as plain "MainA"; x86-64 has no decoration.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(SETUP_MAINA_SYMBOL MainA@8)
    set(SETUP_KILL_AT --kill-at)
else()
    set(SETUP_MAINA_SYMBOL MainA)
    set(SETUP_KILL_AT "")
endif()
set(SETUP_DEF_FILE ${CMAKE_BINARY_DIR}/setup-library/SETUP.def)
configure_file(${CMAKE_CURRENT_LIST_DIR}/SETUP.def.in ${SETUP_DEF_FILE} @ONLY)

# setup_library_dll(<target> <sources...>): a SETUP.dll from these sources.
function(setup_library_dll target)
    add_library(${target} SHARED ${ARGN} ${SETUP_DEF_FILE})
    set_target_properties(${target} PROPERTIES OUTPUT_NAME SETUP PREFIX "" SUFFIX ".dll")
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++ $<$<CONFIG:Release>:-s>)
    if(SETUP_KILL_AT)
        target_link_options(${target} PRIVATE -Wl,${SETUP_KILL_AT})
    endif()
endfunction()
