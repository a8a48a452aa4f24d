# Installs the register helper's component under a staging folder and checks that polkit and
# the module loader find their files where they look, whatever the prefix, and that the policy
# names the path the helper was installed to. The helper's place is absolute, so that an install
# with another --prefix cannot move it away from the path built into the programs and the policy.
file(REMOVE_RECURSE ${STAGE})
set(ENV{DESTDIR} ${STAGE})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --component msr
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "install failed: ${result}")
endif()
set(policy ${STAGE}/usr/share/polkit-1/actions/org.calidus.msr.policy)
foreach(file ${policy} ${STAGE}${HELPER} ${STAGE}/usr/lib/modules-load.d/calidus-msr.conf)
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
file(READ ${STAGE}/usr/lib/modules-load.d/calidus-msr.conf modules)
if(NOT modules STREQUAL "msr\n")
    message(FATAL_ERROR "modules-load entry is '${modules}'")
endif()
file(REMOVE_RECURSE ${STAGE})
