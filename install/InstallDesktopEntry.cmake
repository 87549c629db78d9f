# Run by cmake --install: the bin/kolviplayer link, the desktop entry and
# the session bus's service file, whose Exec names the installed program by
# its full path, so the menu and the bus find it whether or not bin/ is on
# the user's PATH. All three go into install_manifest.txt like every other
# installed file, so removing what it lists removes the install whole.
set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(program "${CMAKE_INSTALL_PREFIX}/bin/kolviplayer")

file(MAKE_DIRECTORY "${root}/bin")
message(STATUS "Installing: ${root}/bin/kolviplayer -> ../lib/kolviplayer/kolviplayer")
file(CREATE_LINK ../lib/kolviplayer/kolviplayer "${root}/bin/kolviplayer" SYMBOLIC)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${root}/bin/kolviplayer")

# A desktop entry's string values escape "\" as "\\"; inside Exec's quotes
# '"', '`', '$' and '\' are escaped with "\" too, before that.
string(REPLACE "\\" "\\\\" KOLVI_DESKTOP_TRYEXEC "${program}")
string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" quoted "${program}")
set(shellQuoted "\"${quoted}\"")
string(REPLACE "\\" "\\\\" quoted "${quoted}")
set(KOLVI_DESKTOP_EXEC "\"${quoted}\"")
set(entry "${root}/share/applications/${KOLVI_APP_ID}.desktop")
message(STATUS "Installing: ${entry}")
configure_file("${KOLVI_DESKTOP_TEMPLATE}" "${entry}" @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${entry}")

# The desktop starts the player on the session bus (DBusActivatable) and
# hands it the files opened with it.
set(service "${root}/share/dbus-1/services/${KOLVI_APP_ID}.service")
message(STATUS "Installing: ${service}")
file(WRITE "${service}" "[D-BUS Service]\nName=${KOLVI_APP_ID}\nExec=${shellQuoted}\n")
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${service}")
