cmake_policy(SET CMP0057 NEW) # if(IN_LIST)
# Fails naming each source file that creates, renames or removes a file on its own:
# every output goes through the platform's OutputFile, which writes a temporary and
# renames it over the chosen name only when whole. The platform's file layer itself is
# the one place allowed. The help redirect page is no command's output: it is rewritten
# in the program's own folder, through a descriptor of that folder, on every use.
set(allowed platform/OutputFile.cpp platform/BinaryFile.cpp platform/BinaryFile.h common/Help.cpp)
set(creates "modeCreate|O_CREAT|O_TRUNC|ofstream|::fstream|fopen\\(|freopen\\(|creat\\(|mkstemp|rename\\(|renameat|remove_all\\(|filesystem::remove|unlink\\(|QFile::remove|QFile::rename|QSaveFile|QPdfWriter\\(QString|setOutputFileName|copy_file")
# std::remove with an iterator pair is the algorithm, not the file call.
set(removes "::remove\\(")
set(algorithm "::remove\\([^;]*,")
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
set(faults "")
foreach(source ${sources})
  if(source IN_LIST allowed)
    continue()
  endif()
  file(STRINGS ${SOURCE_DIR}/${source} lines REGEX "${creates}|${removes}")
  foreach(line IN LISTS lines)
    if(line MATCHES "^[ \t]*//")
      continue()
    endif()
    if(line MATCHES "${creates}" OR (line MATCHES "${removes}" AND NOT line MATCHES "${algorithm}"))
      string(APPEND faults "  ${source}: ${line}\n")
    endif()
  endforeach()
endforeach()
if(faults)
  message(FATAL_ERROR "Files created, renamed or removed outside platform/OutputFile:\n${faults}")
endif()
