# Builds the tool on Windows with MSYS2's MinGW-w64 packages (Qt 5, hidapi, CMake, Ninja) and
# deploys it into one folder that runs on a machine without Qt or MSYS2: touchtuner.exe beside
# its firmware templates, app_Project and every DLL it needs.
#
#   powershell -ExecutionPolicy Bypass -File scripts\build-windows.ps1
#   powershell -ExecutionPolicy Bypass -File scripts\build-windows.ps1 -Msys2 D:\msys64 -Output C:\tools\touchtuner
#
# Needs MSYS2 (https://www.msys2.org); the packages below are installed with pacman when missing.
param(
    [string]$Msys2 = 'C:\msys64',
    [string]$BuildDir = 'build-windows',
    [string]$Output = 'dist\touchtuner'
)
$ErrorActionPreference = 'Stop'

$root = Split-Path -Parent $PSScriptRoot
$mingwBin = Join-Path $Msys2 'mingw64\bin'
$bash = Join-Path $Msys2 'usr\bin\bash.exe'
if (-not (Test-Path $bash)) {
    throw "MSYS2 not found in $Msys2; install it or pass -Msys2 <folder>"
}

$packages = @(
    'mingw-w64-x86_64-gcc', 'mingw-w64-x86_64-cmake', 'mingw-w64-x86_64-ninja',
    'mingw-w64-x86_64-pkgconf', 'mingw-w64-x86_64-qt5-base', 'mingw-w64-x86_64-qt5-charts',
    'mingw-w64-x86_64-qt5-svg', 'mingw-w64-x86_64-qt5-tools', 'mingw-w64-x86_64-qt5-translations',
    'mingw-w64-x86_64-hidapi', 'mingw-w64-x86_64-libzip'
)
& $bash -lc "pacman -S --needed --noconfirm $($packages -join ' ')"
if ($LASTEXITCODE -ne 0) { throw "pacman failed ($LASTEXITCODE)" }

# The MinGW-w64 tools and libraries come first, so CMake finds this Qt and this compiler.
$env:PATH = "$mingwBin;$env:PATH"
$env:MSYSTEM = 'MINGW64'

function Invoke-Tool([string]$Program, [string[]]$Arguments) {
    & $Program @Arguments
    if ($LASTEXITCODE -ne 0) { throw "$Program $($Arguments -join ' ') failed ($LASTEXITCODE)" }
}

# windeployqt copies Qt and the compiler runtime; MSYS2's Qt and hidapi also need DLLs of
# mingw64\bin (hidapi, ICU, zlib, zstd, harfbuzz, ...). Follows the imports of every program
# and library in the folder until nothing of mingw64\bin is missing. System DLLs are not there.
function Copy-MinGWLibraries([string]$Folder) {
    $objdump = Join-Path $mingwBin 'objdump.exe'
    do {
        $copied = 0
        $binaries = Get-ChildItem -Path $Folder -Recurse -Include '*.exe', '*.dll'
        $present = @{}
        foreach ($binary in $binaries) { $present[$binary.Name.ToLower()] = $true }
        foreach ($binary in $binaries) {
            foreach ($line in (& $objdump -p $binary.FullName)) {
                if ($line -notmatch 'DLL Name:\s*(\S+)') { continue }
                $name = $Matches[1]
                $source = Join-Path $mingwBin $name
                if (-not $present.ContainsKey($name.ToLower()) -and (Test-Path $source)) {
                    Copy-Item $source $Folder
                    $present[$name.ToLower()] = $true
                    $copied++
                }
            }
        }
    } while ($copied -gt 0)
}

Push-Location $root
try {
    Invoke-Tool cmake @('-G', 'Ninja', '-S', '.', '-B', $BuildDir, '-DCMAKE_BUILD_TYPE=Release')
    Invoke-Tool cmake @('--build', $BuildDir, '--target', 'touchtuner')
    if (Test-Path $Output) { Remove-Item -Recurse -Force $Output }
    # The install rules lay out a portable folder: the tool, the templates, app_Project, and
    # translations\qtbase_zh_CN.qm for Qt's own Chinese texts (the tool's English is built in).
    Invoke-Tool cmake @('--install', $BuildDir, '--prefix', $Output, '--strip')

    $deploy = Join-Path $mingwBin 'windeployqt-qt5.exe'
    if (-not (Test-Path $deploy)) { $deploy = Join-Path $mingwBin 'windeployqt.exe' }
    $exe = Join-Path $Output 'touchtuner.exe'
    Invoke-Tool $deploy @('--release', '--compiler-runtime', '--no-translations', $exe)
    Copy-MinGWLibraries $Output
    Write-Host "touchtuner: ready in $(Resolve-Path $Output); copy or zip that folder"
} finally {
    Pop-Location
}
