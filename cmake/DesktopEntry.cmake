# Writes the desktop entry of a portable folder, or of the installed program
# (cmake -P):
#   cmake -DFOLDER=<portable folder> -DOUTPUT=<file.desktop> -P DesktopEntry.cmake
#   cmake -DICON_NAME=<icon theme name> -DOUTPUT=<file.desktop> -P DesktopEntry.cmake
# A portable folder's entry names the program and its icon by their absolute
# paths, so it works wherever it is put; moving the folder needs a new entry.
# The installed program is found on the PATH and its icon in the icon theme.
if(NOT (FOLDER OR ICON_NAME) OR NOT OUTPUT)
    message(FATAL_ERROR "Usage: cmake -DFOLDER=<portable folder> | -DICON_NAME=<name> -DOUTPUT=<file> -P ${CMAKE_CURRENT_LIST_FILE}")
endif()

# A value of the file: a backslash is written doubled.
function(entry_value out text)
    string(REPLACE "\\" "\\\\" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The program as the Exec key takes it: in double quotes, with ", `, $ and
# \ escaped inside them, then as a value of the file, "%" doubled.
function(exec_value out path)
    string(REPLACE "\\" "\\\\" path "${path}")
    string(REPLACE "\"" "\\\"" path "${path}")
    string(REPLACE "`" "\\`" path "${path}")
    string(REPLACE "$" "\\$" path "${path}")
    string(REPLACE "%" "%%" path "${path}")
    entry_value(path "\"${path}\"")
    set(${out} "${path}" PARENT_SCOPE)
endfunction()

if(ICON_NAME)
    set(exec zavik)
    set(icon "${ICON_NAME}")
    set(where "")
else()
    get_filename_component(folder "${FOLDER}" ABSOLUTE)
    exec_value(exec "${folder}/zavik")
    entry_value(program "${folder}/zavik")
    entry_value(icon "${folder}/zavik.png")
    entry_value(path "${folder}")
    set(where "TryExec=${program}\nPath=${path}\n")
endif()

file(WRITE "${OUTPUT}.new" "[Desktop Entry]
Type=Application
Version=1.4
Name=Zavik
GenericName=Classroom wall
GenericName[ja]=教室のかべ
Comment=Turn a folder into a full-screen board of cards for the classroom
Comment[ja]=フォルダを、カードを貼れる全画面の「かべ」にします
Keywords=classroom;board;cards;school;LOGO;
Keywords[ja]=授業;黒板;カード;学校;かべ;LOGO;
Exec=${exec}
${where}Icon=${icon}
Terminal=false
Categories=Education;
StartupNotify=true
")
file(RENAME "${OUTPUT}.new" "${OUTPUT}")
