# Run by CTest with BIN_DIR and OBJDUMP: fails when build/win/bin holds a test-only file or a module
# there carries a test seam.

# Test fixtures and test builds are named so; the synthetic camera is installed (scripts/run registers
# it when no camera is listed).
set(test_only_file "([Tt]est|standin|fake)")
set(installed_fixture "^qel_test_camera\\.ax$")
# The seams that change what the installed modules do, by name (they live in the test builds only):
# the engine's creators and refusal, the playback library's held plays, the album's, the reader's and
# the program folder's redirection.
set(seam_symbol "(SetTrimObjectCreator|SetAviMuxCreator|RefuseNextPreviewBuilds|PreviewBuildRefusedForTests|\
lpTestHoldPlays|HeldPlayMarker|SetClipTryObserver|NoteClipTry|SetRepairReadPause|RepairReadPause|\
SetThumbMakingForTest|RunThumbWorkHook|SetVideoGraphRanHook|SetPacedSampleHook|\
RedirectProgramFolder|RedirectFreeBytesQuery)")
# What the test builds read from their environment.
set(seam_variable "(FRAMESNATCH_TIME_LIMIT_MS|ZENTRIK_CLIP_TRY_LOG|QEL_TEST_[A-Z_]+)")
# Engine code the installed engine has but exports to its tests only.
set(test_only_export "(FrameTitleMatches|PageGrowth|FindPropertyFrame|LayOutPropertyFrame|g_propertyFrameClosed)")

file(GLOB_RECURSE files RELATIVE ${BIN_DIR} ${BIN_DIR}/*)
if(NOT files)
    message(FATAL_ERROR "${BIN_DIR} is empty: build the Windows configuration first")
endif()
set(faults)
set(modules 0)
foreach(file ${files})
    get_filename_component(name ${file} NAME)
    if(name MATCHES "${test_only_file}" AND NOT name MATCHES "${installed_fixture}")
        list(APPEND faults "${file}: a test-only file")
    endif()
    if(NOT name MATCHES "\\.(dll|ax|exe|scr)$")
        continue()
    endif()
    math(EXPR modules "${modules} + 1")
    execute_process(COMMAND ${OBJDUMP} -p -t ${BIN_DIR}/${file} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
    if(failed)
        list(APPEND faults "${file}: objdump could not read it")
        continue()
    endif()
    string(REGEX MATCHALL "${seam_symbol}" seams "${dump}")
    if(seams)
        list(REMOVE_DUPLICATES seams)
        string(JOIN ", " seams ${seams})
        list(APPEND faults "${file}: test seams ${seams}")
    endif()
    file(STRINGS ${BIN_DIR}/${file} variables REGEX "${seam_variable}")
    if(variables)
        string(REGEX MATCHALL "${seam_variable}" variables "${variables}")
        list(REMOVE_DUPLICATES variables)
        string(JOIN ", " variables ${variables})
        list(APPEND faults "${file}: reads the test builds' variables ${variables}")
    endif()
    # The export table's names are listed as "[ordinal] name" lines.
    string(REGEX MATCHALL "\\] [^\n]*${test_only_export}[^\n]*" exports "${dump}")
    if(exports)
        string(REPLACE "] " "" exports "${exports}")
        string(JOIN ", " exports ${exports})
        list(APPEND faults "${file}: test-only exports ${exports}")
    endif()
    # A name-less export (the playback library's seam was ordinal 5) has no name to look for: every
    # export with an address must have a name.
    string(REGEX MATCHALL "\\+base\\[ *[0-9]+\\] +0*[1-9a-f][0-9a-f]* Export RVA" addressed "${dump}")
    list(LENGTH addressed addressed_count)
    set(named_count 0)
    if(dump MATCHES "\\[Ordinal/Name Pointer\\] Table\n(([^\n]*\\[ *[0-9]+\\] [^\n]+\n)+)")
        string(REGEX MATCHALL "\n" named "\n${CMAKE_MATCH_1}")
        list(LENGTH named named_count)
        math(EXPR named_count "${named_count} - 1")
    endif()
    if(addressed_count GREATER named_count)
        math(EXPR nameless "${addressed_count} - ${named_count}")
        list(APPEND faults "${file}: ${nameless} export(s) without a name")
    endif()
endforeach()
if(modules EQUAL 0)
    list(APPEND faults "no module in ${BIN_DIR}")
endif()
if(faults)
    string(REPLACE ";" "\n  " text "${faults}")
    message(FATAL_ERROR "build/win/bin holds what a user does not install:\n  ${text}")
endif()
message(STATUS "${modules} modules and the rest of ${BIN_DIR}: nothing test-only")
