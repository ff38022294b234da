# SPDX-License-Identifier: GPL-3.0-or-later
# Configures the project in a scratch folder with a distributor's options set, then checks that they reach
# what is built: the header of them that the core library includes, the package's maintainer and the software
# centres' metadata. It configures and compiles one small file, so it takes seconds.
# Usage: cmake -DSOURCE=FOLDER -DWORK=FOLDER -DGENERATOR=NAME -DCOMPILER=PATH -P build_options.cmake

# A query and a fragment: characters that shells and build tools treat specially.
set(home_page "https://shop.example.org/bazaarly?from=app&lang=en#start")
set(support "help+bazaarly@shop.example.org")

function(fail message)
    message(FATAL_ERROR "${message}")
endfunction()

file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${WORK} -G ${GENERATOR} -DCMAKE_CXX_COMPILER=${COMPILER}
                        -DCMAKE_BUILD_TYPE=Release
                        -DBAZAARLY_BUILD_TESTS=OFF -DBAZAARLY_BUILD_BENCHMARKS=OFF
                        -DBAZAARLY_HOME_PAGE=${home_page} -DBAZAARLY_SUPPORT_ADDRESS=${support}
                RESULT_VARIABLE failed OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(failed)
    fail("configuring failed:\n${output}")
endif()

# A small program that includes the header the core library's sources include prints the two values it holds.
set(header ${WORK}/src/DistributorOptions.h)
if(NOT EXISTS ${header})
    fail("configuring made no ${header}")
endif()
file(WRITE ${WORK}/probe.cpp "#include \"DistributorOptions.h\"\n#include <cstdio>\nint main()\n{\n"
                             "    std::puts(BAZAARLY_HOME_PAGE);\n    std::puts(BAZAARLY_SUPPORT_CONTACT);\n}\n")
execute_process(COMMAND ${COMPILER} -I${WORK}/src -o ${WORK}/probe ${WORK}/probe.cpp RESULT_VARIABLE failed
                OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(failed)
    fail("the probe did not compile:\n${output}")
endif()
execute_process(COMMAND ${WORK}/probe OUTPUT_VARIABLE seen)
if(NOT seen STREQUAL "${home_page}\n${support}\n")
    fail("the core library sees:\n${seen}expected:\n${home_page}\n${support}")
endif()

# Whether the text holds the piece, taken literally.
function(expect_in text piece what)
    string(FIND "${text}" "${piece}" position)
    if(position EQUAL -1)
        fail("${what} lacks ${piece}:\n${text}")
    endif()
endfunction()

file(READ ${WORK}/CPackConfig.cmake cpack_config)
expect_in("${cpack_config}" "\"Quillmark <${support}>\"" "the package's settings")

set(metainfo ${WORK}/packaging/linux/com.quillmark.BazaarlySearch.metainfo.xml)
file(READ ${metainfo} metadata)
string(REPLACE "&" "&amp;" escaped_home_page "${home_page}")
expect_in("${metadata}" "<url type=\"homepage\">${escaped_home_page}</url>" "the AppStream metadata")
expect_in("${metadata}" "<update_contact>${support}</update_contact>" "the AppStream metadata")
find_program(APPSTREAMCLI appstreamcli)
if(APPSTREAMCLI)
    execute_process(COMMAND ${APPSTREAMCLI} validate --no-net ${metainfo} RESULT_VARIABLE failed
                    OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(failed)
        fail("appstreamcli rejects the metadata with the options set:\n${output}")
    endif()
endif()
file(REMOVE_RECURSE ${WORK})
