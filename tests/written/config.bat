@echo off
rem Rebuilds the touch test firmware with the uVision command line.
rem The touch tuner fills in the project path and the line that opens uVision.
set UV=C:\Keil_v5\UV4\UV4.exe
set "UV_PRO_PATH=Z:\工程\触摸 & 100%%\RM3KV5172_Touch_Test\RM3KV5172.uvproj"
echo Building "%UV_PRO_PATH%"
start "" /b "%UV%" -j0 -r "%UV_PRO_PATH%" -o build_log.txt
start "" /b "C:\Keil_v5\UV4\UV4.exe" "Z:\工程\触摸 & 100%%\RM3KV5172_Touch_Test\RM3KV5172.uvproj"
