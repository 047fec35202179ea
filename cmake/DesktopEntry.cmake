# Writes the desktop entry of a portable folder (cmake -P):
#   cmake -DFOLDER=<portable folder> -DOUTPUT=<file.desktop> -P DesktopEntry.cmake
# The entry names the program and its icon by their absolute paths, so it
# works wherever it is put; moving the folder needs a new entry.
if(NOT FOLDER OR NOT OUTPUT)
    message(FATAL_ERROR "Usage: cmake -DFOLDER=<portable folder> -DOUTPUT=<file> -P ${CMAKE_CURRENT_LIST_FILE}")
endif()
get_filename_component(folder "${FOLDER}" ABSOLUTE)

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

exec_value(exec "${folder}/zavik")
entry_value(program "${folder}/zavik")
entry_value(icon "${folder}/zavik.png")
entry_value(path "${folder}")

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
TryExec=${program}
Path=${path}
Icon=${icon}
Terminal=false
Categories=Education;
StartupNotify=true
")
file(RENAME "${OUTPUT}.new" "${OUTPUT}")
