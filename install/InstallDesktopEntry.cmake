# Run by cmake --install: the bin/kolviplayer link and the desktop entry,
# whose Exec names the installed program by its full path, so the menu
# finds it whether or not bin/ is on the user's PATH.
set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(program "${CMAKE_INSTALL_PREFIX}/bin/kolviplayer")

file(MAKE_DIRECTORY "${root}/bin")
message(STATUS "Installing: ${root}/bin/kolviplayer -> ../lib/kolviplayer/kolviplayer")
file(CREATE_LINK ../lib/kolviplayer/kolviplayer "${root}/bin/kolviplayer" SYMBOLIC)

# A desktop entry's string values escape "\" as "\\"; inside Exec's quotes
# '"', '`', '$' and '\' are escaped with "\" too, before that.
string(REPLACE "\\" "\\\\" KOLVI_DESKTOP_TRYEXEC "${program}")
string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" quoted "${program}")
string(REPLACE "\\" "\\\\" quoted "${quoted}")
set(KOLVI_DESKTOP_EXEC "\"${quoted}\"")
set(entry "${root}/share/applications/${KOLVI_APP_ID}.desktop")
message(STATUS "Installing: ${entry}")
configure_file("${KOLVI_DESKTOP_TEMPLATE}" "${entry}" @ONLY)
