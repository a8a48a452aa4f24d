# Installs the register helper's component under a staging folder and checks that polkit finds
# the policy where it looks whatever the prefix, and that the policy names the path the helper
# was installed to.
file(REMOVE_RECURSE ${STAGE})
set(ENV{DESTDIR} ${STAGE})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --component msr
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "install failed: ${result}")
endif()
set(policy ${STAGE}/usr/share/polkit-1/actions/org.calidus.msr.policy)
foreach(file ${policy} ${STAGE}${HELPER})
    if(NOT EXISTS ${file})
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()
file(READ ${policy} text)
foreach(expected "org.freedesktop.policykit.exec.path\">${HELPER}<" "<allow_active>auth_admin_keep<")
    string(FIND "${text}" "${expected}" at)
    if(at LESS 0)
        message(FATAL_ERROR "the policy lacks ${expected}")
    endif()
endforeach()
file(REMOVE_RECURSE ${STAGE})
