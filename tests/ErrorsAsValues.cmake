# Fails naming each source file of a layer below the windows that shows a message box
# itself: there a failure is returned as a Status carrying its message, and the code
# that owns the window shows it (OkOrShow). Whole folders are checked, so a new file
# is held to it from its first line; only the files named in `windows` (commands and
# their dialogs, which own a window) may show a message.
set(folders dataset settings cnv lis)
set(windows
    # Scan CNV, Convert CNV and Scan Qtx: commands.
    cnv/CnvToQtx.cpp cnv/ScanCnvFile.cpp cnv/ScanQtxFile.cpp
    # Scan Lis, Lis to Qtx and Qtx to Lis: commands, their questions and pick dialogs.
    lis/LisScan.cpp lis/LisToQtx.cpp lis/QtxToLis.cpp lis/LisParamScan.cpp
    lis/LisRecognise.cpp lis/LisRecogniseApx.cpp lis/LisRecogniseDal.cpp lis/LisRecogniseFws.cpp
    lis/LisRecogniseLss.cpp lis/LisRecogniseMacXmac.cpp
    lis/DalToolWaveformDlg.cpp lis/FwsWavePickDlg.cpp lis/MacXmacPickDlg.cpp lis/PickApxWaveformsDlg.cpp
    lis/SelectInputFileItemsDlg.cpp lis/WavePickDlg.cpp)
set(sources "")
foreach(folder ${folders})
  file(GLOB_RECURSE found RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
  if(NOT found)
    message(FATAL_ERROR "No source file found in ${folder}/")
  endif()
  list(APPEND sources ${found})
endforeach()
set(faults "")
foreach(window ${windows})
  if(NOT EXISTS ${SOURCE_DIR}/${window})
    list(APPEND faults "${window}: named as a window's file, and not found")
  endif()
endforeach()
list(REMOVE_ITEM sources ${windows})
foreach(source ${sources})
  file(STRINGS ${SOURCE_DIR}/${source} lines REGEX "MessageBox\\(|OkOrShow\\(|#include \"platform/Host.h\"")
  foreach(line IN LISTS lines)
    if(NOT line MATCHES "^[ \t]*//")
      list(APPEND faults "${source}: ${line}")
    endif()
  endforeach()
endforeach()
if(faults)
  list(JOIN faults "\n" text)
  message(FATAL_ERROR "A layer below the windows shows a message itself:\n${text}")
endif()
