<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>AppProject</name>
    <message>
        <source>生成代码提示</source>
        <translation>Generate code</translation>
    </message>
    <message>
        <source>请确调试已经完成！</source>
        <translation>Please make sure the tuning is finished!</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>请到设置页面工程路径处选择应用工程保存路径！</source>
        <translation>Choose where the application project is saved: the project path on the settings page!</translation>
    </message>
    <message>
        <source>进入低功耗时间超出范围（0-65535），请修改后再生成！</source>
        <translation>The time before low power is out of range (0-65535); correct it and generate again!</translation>
    </message>
    <message>
        <source>以下通道尚未完成测试：</source>
        <translation>These channels are not fully tested yet: </translation>
    </message>
    <message>
        <source>，</source>
        <translation>, </translation>
    </message>
    <message>
        <source>无法创建应用工程文件夹，请检查工程路径！</source>
        <translation>Cannot create the application project folder; check the project path!</translation>
    </message>
    <message>
        <source>写.H文件失败！</source>
        <translation>Writing the .H file failed!</translation>
    </message>
    <message>
        <source>生成应用代码完成！</source>
        <translation>Application code generated!</translation>
    </message>
    <message>
        <source>文件路径不存在！</source>
        <translation>The file path does not exist!</translation>
    </message>
    <message>
        <source>应用工程已生成：%1</source>
        <translation>Application project written: %1</translation>
    </message>
    <message>
        <source>%1

仍要生成应用代码吗？</source>
        <translation>%1

Generate the application code anyway?</translation>
    </message>
    <message>
        <source>；
</source>
        <translation>;
</translation>
    </message>
    <message>
        <source>仍然生成</source>
        <translation>Generate anyway</translation>
    </message>
    <message>
        <source>TK%1 的按键设置与默认不同：%2</source>
        <translation>TK%1&apos;s key settings differ from the defaults: %2</translation>
    </message>
    <message>
        <source>%1 的设置与默认不同：%2</source>
        <translation>%1&apos;s settings differ from the defaults: %2</translation>
    </message>
</context>
<context>
    <name>BatchControls</name>
    <message>
        <source>基线偏差</source>
        <translation>Baseline spread</translation>
    </message>
    <message>
        <source>信号偏差</source>
        <translation>Signal spread</translation>
    </message>
    <message>
        <source>噪声幅度</source>
        <translation>Noise amplitude</translation>
    </message>
    <message>
        <source>至</source>
        <translation>to</translation>
    </message>
    <message>
        <source>换新板</source>
        <translation>New board</translation>
    </message>
    <message>
        <source>按上面的偏差生成下一块板：各通道基线、信号和噪声各不相同</source>
        <translation>Put the next board on the fixture, drawn from the spread above: every channel gets its own baseline, signal and noise</translation>
    </message>
    <message>
        <source>停止后自动换板</source>
        <translation>New board after each Stop</translation>
    </message>
    <message>
        <source>每次测试停止后，夹具上换成下一块板</source>
        <translation>After each test stops, the next board is put on the fixture</translation>
    </message>
    <message>
        <source>正常</source>
        <translation>good</translation>
    </message>
    <message>
        <source>开路</source>
        <translation>open</translation>
    </message>
    <message>
        <source>短路</source>
        <translation>shorted</translation>
    </message>
    <message>
        <source>焊盘</source>
        <translation>Pad</translation>
    </message>
    <message>
        <source>量产批次</source>
        <translation>Production batch</translation>
    </message>
    <message>
        <source>第 %1 块板</source>
        <translation>Board %1</translation>
    </message>
</context>
<context>
    <name>BatchFirmware</name>
    <message>
        <source>—</source>
        <translation>—</translation>
    </message>
    <message>
        <source>%1（%2%）</source>
        <translation>%1 (%2%)</translation>
    </message>
    <message>
        <source>（板 %1）</source>
        <translation> (board %1)</translation>
    </message>
    <message>
        <source>批次中没有合格板的数据</source>
        <translation>no passed board in the batch</translation>
    </message>
    <message>
        <source>没有信号数据</source>
        <translation>no signal figures</translation>
    </message>
    <message>
        <source>没有防水数据</source>
        <translation>no water figures</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>板 %1 上的%2 %3</source>
        <translation>%2 on board %1: %3</translation>
    </message>
    <message>
        <source>触摸余量</source>
        <translation>touch margin</translation>
    </message>
    <message>
        <source>不触摸余量</source>
        <translation>no-touch margin</translation>
    </message>
    <message>
        <source>防水余量</source>
        <translation>water margin</translation>
    </message>
    <message>
        <source>，</source>
        <translation>, </translation>
    </message>
    <message>
        <source>没有噪声数据</source>
        <translation>No noise data</translation>
    </message>
</context>
<context>
    <name>BatchReport</name>
    <message>
        <source>%1_批次报告.pdf</source>
        <translation>%1_batch_report.pdf</translation>
    </message>
    <message>
        <source>无触摸值</source>
        <translation>No-touch mean</translation>
    </message>
    <message>
        <source>噪声</source>
        <translation>Noise</translation>
    </message>
    <message>
        <source>信号</source>
        <translation>Signal</translation>
    </message>
    <message>
        <source>无法写入批次报告 %1：%2</source>
        <translation>Cannot write the batch report %1: %2</translation>
    </message>
    <message>
        <source>%1 批次统计报告</source>
        <translation>%1 batch report</translation>
    </message>
    <message>
        <source>无法生成 PDF</source>
        <translation>cannot make the PDF</translation>
    </message>
    <message>
        <source>批次统计报告</source>
        <translation>Batch report</translation>
    </message>
    <message>
        <source>工程：%1&#x3000;&#x3000;日期：%2&#x3000;&#x3000;来源：%3</source>
        <translation>Project: %1    Date: %2    Sources: %3</translation>
    </message>
    <message>
        <source>%1 块板：合格 %2，不合格 %3，良率 %4%</source>
        <translation>%1 boards: %2 passed, %3 failed, yield %4%</translation>
    </message>
    <message>
        <source>失败原因</source>
        <translation>Failures</translation>
    </message>
    <message>
        <source>原因</source>
        <translation>Reason</translation>
    </message>
    <message>
        <source>板数</source>
        <translation>Boards</translation>
    </message>
    <message>
        <source>各通道统计</source>
        <translation>Statistics per channel</translation>
    </message>
    <message>
        <source>通道</source>
        <translation>Ch.</translation>
    </message>
    <message>
        <source>数值</source>
        <translation>Figure</translation>
    </message>
    <message>
        <source>数量</source>
        <translation>Count</translation>
    </message>
    <message>
        <source>均值</source>
        <translation>Mean</translation>
    </message>
    <message>
        <source>标准差</source>
        <translation>Std. dev.</translation>
    </message>
    <message>
        <source>最小</source>
        <translation>Min.</translation>
    </message>
    <message>
        <source>最大</source>
        <translation>Max.</translation>
    </message>
    <message>
        <source>下限</source>
        <translation>Lower</translation>
    </message>
    <message>
        <source>上限</source>
        <translation>Upper</translation>
    </message>
    <message>
        <source>Cpk</source>
        <translation>Cpk</translation>
    </message>
    <message>
        <source>批次固件值</source>
        <translation>Firmware values from the batch</translation>
    </message>
    <message>
        <source>按键</source>
        <translation>Key no.</translation>
    </message>
    <message>
        <source>合格板</source>
        <translation>Passed boards</translation>
    </message>
    <message>
        <source>不触摸
均值</source>
        <translation>No-touch
mean</translation>
    </message>
    <message>
        <source>触摸
均值</source>
        <translation>Touch
mean</translation>
    </message>
    <message>
        <source>防水
均值</source>
        <translation>Water
mean</translation>
    </message>
    <message>
        <source>按下
阈值</source>
        <translation>Press
threshold</translation>
    </message>
    <message>
        <source>释放
阈值</source>
        <translation>Release
threshold</translation>
    </message>
    <message>
        <source>最差触摸余量</source>
        <translation>Worst touch margin</translation>
    </message>
    <message>
        <source>最差不触摸余量</source>
        <translation>Worst no-touch margin</translation>
    </message>
    <message>
        <source>最差防水余量</source>
        <translation>Worst water margin</translation>
    </message>
    <message>
        <source>各通道分布</source>
        <translation>Distribution per channel</translation>
    </message>
    <message>
        <source>TK%1 %2（Cpk %3）</source>
        <translation>TK%1 %2 (Cpk %3)</translation>
    </message>
    <message>
        <source>另列</source>
        <translation>Set apart</translation>
    </message>
    <message>
        <source>统计计入每块板的测量值，合格与否，使造成不合格的散布也反映在 Cpk 中；只有焊盘短路、开路的通道的各值和未触摸或无信号的按键的信号不计入（“另列”列为其板数），它们是板的缺陷，不是过程的散布，并已列在不合格原因中。标准差按样本（n−1）计算。Cpk：均值到最近限值的距离除以三倍标准差（无触摸值按上下限，噪声按上限，信号按下限），低于 1.33 的行标为黄色。批次固件值只取合格板：不触摸均值取批次最高值，使任何板上电时计数都不高出基线一个按下偏移；触摸均值为它加上批次最弱板的信号，按下位置因而是最小摆幅的份额；防水均值加上批次最大的防水偏移（没有时用调试工程的）。余量在每块板上按其整个噪声（峰峰值）计算：触摸为信号减噪声减按下偏移，不触摸为释放偏移减噪声，防水为释放偏移减防水偏移再减噪声；没有噪声的板（没有采样文件的调试工程）按批次最大的噪声计算（没有时用调试工程的）；括号内为占摆幅的百分比及所在的板。</source>
        <translation>The statistics count every board&apos;s measured figures, passed or failed, so that a spread that fails boards shows in the Cpk; only the figures of a pad shorted or open and the signal of a key not touched or without signal are left out (the column &quot;Set apart&quot; counts those boards): they are defects of the board, not the spread of the process, and are listed among the failures. The standard deviation is that of a sample (n−1). Cpk: the distance from the mean to the nearest limit over three standard deviations (the no-touch mean against both limits, the noise against its maximum, the signal against its minimum); rows below 1.33 are marked yellow. The firmware values count the passed boards only: the no-touch mean is the highest of the batch, so that no board starts with its count a press offset above its base; the touch mean adds the weakest board&apos;s signal to it, so that the press position is a share of the smallest swing; the water mean adds the largest water shift of the batch (the tuned project&apos;s where there is none). Each margin is taken on every board with its whole noise (peak to peak): touch is the signal less the noise less the press offset, no touch is the release offset less the noise, water is the release offset less the water shift less the noise; a board without a noise of its own (a tuned project without its samples file) is taken at the largest noise of the batch (the tuned project&apos;s where there is none); in brackets its share of the swing and the board it was found on.</translation>
    </message>
</context>
<context>
    <name>BatchView</name>
    <message>
        <source>今日记录</source>
        <translation>Today&apos;s log</translation>
    </message>
    <message>
        <source>打开量产记录…</source>
        <translation>Open production logs…</translation>
    </message>
    <message>
        <source>打开调试工程…</source>
        <translation>Open tuned projects…</translation>
    </message>
    <message>
        <source>清除</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>导出批次报告…</source>
        <translation>Export batch report…</translation>
    </message>
    <message>
        <source>用批次数据生成应用代码</source>
        <translation>Generate app code from the batch</translation>
    </message>
    <message>
        <source>打开量产记录</source>
        <translation>Open production logs</translation>
    </message>
    <message>
        <source>量产记录(*.csv)</source>
        <translation>Production logs (*.csv)</translation>
    </message>
    <message>
        <source>打开调试工程</source>
        <translation>Open tuned projects</translation>
    </message>
    <message>
        <source>工程文件(*.ini)</source>
        <translation>Project files (*.ini)</translation>
    </message>
    <message>
        <source>通道</source>
        <translation>Ch.</translation>
    </message>
    <message>
        <source>数量</source>
        <translation>Count</translation>
    </message>
    <message>
        <source>均值</source>
        <translation>Mean</translation>
    </message>
    <message>
        <source>标准差</source>
        <translation>Std. dev.</translation>
    </message>
    <message>
        <source>最小</source>
        <translation>Min.</translation>
    </message>
    <message>
        <source>最大</source>
        <translation>Max.</translation>
    </message>
    <message>
        <source>下限</source>
        <translation>Lower</translation>
    </message>
    <message>
        <source>上限</source>
        <translation>Upper</translation>
    </message>
    <message>
        <source>Cpk</source>
        <translation>Cpk</translation>
    </message>
    <message>
        <source>按键</source>
        <translation>Key no.</translation>
    </message>
    <message>
        <source>合格板</source>
        <translation>Passed</translation>
    </message>
    <message>
        <source>不触摸均值</source>
        <translation>No-touch mean</translation>
    </message>
    <message>
        <source>触摸均值</source>
        <translation>Touch mean</translation>
    </message>
    <message>
        <source>防水均值</source>
        <translation>Water mean</translation>
    </message>
    <message>
        <source>按下阈值</source>
        <translation>Press threshold</translation>
    </message>
    <message>
        <source>释放阈值</source>
        <translation>Release threshold</translation>
    </message>
    <message>
        <source>最差余量</source>
        <translation>Worst margin</translation>
    </message>
    <message>
        <source>批次固件值（只计合格板；余量按各板的整个噪声计算）</source>
        <translation>Firmware values from the batch (passed boards only; margins with each board&apos;s whole noise)</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>尚无数据：打开量产记录或调试工程。</source>
        <translation>No data yet: open production logs or tuned projects.</translation>
    </message>
    <message>
        <source>%1：%2 块板，合格 %3，不合格 %4，良率 %5%</source>
        <translation>%1: %2 boards, %3 passed, %4 failed, yield %5%</translation>
    </message>
    <message>
        <source>（跳过 %1 行无法读取的记录）</source>
        <translation> (%1 unreadable lines skipped)</translation>
    </message>
    <message>
        <source>%1：%2 块</source>
        <translation>%1: %2 boards</translation>
    </message>
    <message>
        <source>TK%1 %2（Cpk %3）</source>
        <translation>TK%1 %2 (Cpk %3)</translation>
    </message>
    <message>
        <source>另列</source>
        <translation>Set apart</translation>
    </message>
    <message>
        <source>不计入统计的板：焊盘短路或开路的通道，未触摸或无信号的按键的信号</source>
        <translation>Boards not counted: channels with a pad shorted or open, the signal of keys not touched or without signal</translation>
    </message>
    <message>
        <source>统计计入全部板；焊盘短路、开路和未触摸的值另列</source>
        <translation>All boards counted; values of shorted or open pads and untouched keys set apart</translation>
    </message>
</context>
<context>
    <name>BoardFailure</name>
    <message>
        <source>TK%1 无触摸值 %2，低于下限 %3</source>
        <translation>TK%1 no-touch mean %2, below the minimum %3</translation>
    </message>
    <message>
        <source>TK%1 无触摸值 %2，高于上限 %3</source>
        <translation>TK%1 no-touch mean %2, above the maximum %3</translation>
    </message>
    <message>
        <source>TK%1 噪声 %2，高于上限 %3</source>
        <translation>TK%1 noise %2, above the maximum %3</translation>
    </message>
    <message>
        <source>TK%1 信号 %2，低于下限 %3</source>
        <translation>TK%1 signal %2, below the minimum %3</translation>
    </message>
    <message>
        <source>TK%1 未在 %2 秒内触摸，信号 %3，低于下限 %4</source>
        <translation>TK%1 not touched within %2 s, signal %3, below the minimum %4</translation>
    </message>
    <message>
        <source>TK%1 无触摸值低于下限</source>
        <translation>TK%1 no-touch mean below the minimum</translation>
    </message>
    <message>
        <source>TK%1 无触摸值高于上限</source>
        <translation>TK%1 no-touch mean above the maximum</translation>
    </message>
    <message>
        <source>TK%1 噪声高于上限</source>
        <translation>TK%1 noise above the maximum</translation>
    </message>
    <message>
        <source>TK%1 信号低于下限</source>
        <translation>TK%1 signal below the minimum</translation>
    </message>
    <message>
        <source>TK%1 未触摸</source>
        <translation>TK%1 not touched</translation>
    </message>
    <message>
        <source>：焊盘开路</source>
        <translation>: open pad</translation>
    </message>
    <message>
        <source>：焊盘短路</source>
        <translation>: shorted pad</translation>
    </message>
    <message>
        <source>：无信号，焊盘开路或未触摸</source>
        <translation>: no signal, an open pad or no touch</translation>
    </message>
</context>
<context>
    <name>BoardPanel</name>
    <message>
        <source>模拟调试板</source>
        <translation>Simulated debugger board</translation>
    </message>
    <message>
        <source>按住</source>
        <translation>Latch</translation>
    </message>
    <message>
        <source>勾选后单击按键按下手指，再单击抬起，可同时按住多个按键</source>
        <translation>When ticked, a click puts a finger on a key and another click lifts it, so that several keys stay held</translation>
    </message>
    <message>
        <source>加水</source>
        <translation>Water</translation>
    </message>
    <message>
        <source>拔出调试器</source>
        <translation>Unplug debugger</translation>
    </message>
    <message>
        <source>插入调试器</source>
        <translation>Plug in debugger</translation>
    </message>
    <message>
        <source>调试器已拔出</source>
        <translation>Debugger unplugged</translation>
    </message>
    <message>
        <source>正在发送数据</source>
        <translation>Sending data</translation>
    </message>
    <message>
        <source>未发送数据</source>
        <translation>Not sending data</translation>
    </message>
    <message>
        <source>单击按键 = 按下/抬起手指，可多键同按</source>
        <translation>Click a key = finger down / up; several keys at once</translation>
    </message>
    <message>
        <source>按住按键 = 手指触摸，松开 = 手指离开</source>
        <translation>Hold a key = finger on it, release = finger off</translation>
    </message>
    <message>
        <source>后一个按键自身手指信号的百分比；0 为不耦合</source>
        <translation>A share of the second key&apos;s own finger signal; 0 for no coupling</translation>
    </message>
    <message>
        <source>耦合：触摸</source>
        <translation>Coupling: touching</translation>
    </message>
    <message>
        <source>时</source>
        <translation>raises</translation>
    </message>
    <message>
        <source>升高</source>
        <translation>by</translation>
    </message>
    <message>
        <source>该按键读数另加的随机波动（计数）；0 为无噪声</source>
        <translation>Extra random variation of that key&apos;s readings (counts); 0 for no noise</translation>
    </message>
    <message>
        <source>噪声：</source>
        <translation>Noise:</translation>
    </message>
</context>
<context>
    <name>BoardRun</name>
    <message>
        <source>发送数据超时</source>
        <translation>Sending timed out</translation>
    </message>
    <message>
        <source>调试器已断开</source>
        <translation>Debugger unplugged</translation>
    </message>
</context>
<context>
    <name>BuildScript</name>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>写配置文件失败！</source>
        <translation>Writing the configuration file failed!</translation>
    </message>
    <message>
        <source>未找到 wine：在本系统上无法运行测试工程的编译脚本 config.bat，它调用的 Keil µVision 是 Windows 程序。

本次仍会改写测试工程的源文件和 config.bat，但不会编译和下载。请安装 wine 并在其中安装 Keil µVision 后再试，或在 Windows 上用 Keil µVision 编译改写后的测试工程：
%1</source>
        <translation>wine was not found: the build script config.bat of the test project cannot run on this system, as the Keil µVision it calls is a Windows program.

The sources and config.bat of the test project are rewritten all the same, but not built or downloaded. Install wine and Keil µVision inside it and try again, or build the rewritten test project with Keil µVision on Windows:
%1</translation>
    </message>
    <message>
        <source>测试工程的路径含有无法写入编译脚本 config.bat 的字符“%1”（cmd 以代码页 %2 读取该脚本）：
%3

本次没有改写任何文件，也没有运行编译脚本。请将工具放到路径中没有这个字符的文件夹后再试。</source>
        <translation>The test project&apos;s path holds the character &quot;%1&quot;, which cannot be written into the build script config.bat (cmd reads the script in code page %2):
%3

No file was rewritten and the build script was not run. Move the tool to a folder whose path does not hold this character and try again.</translation>
    </message>
    <message>
        <source>已运行编译脚本 config.bat，目录：%1</source>
        <translation>Ran the build script config.bat in the folder %1</translation>
    </message>
    <message>
        <source>编译脚本 config.bat 已运行 %1 秒，仍在后台运行，目录：%2</source>
        <translation>The build script config.bat has run for %1 s and goes on in the background, in the folder %2</translation>
    </message>
    <message>
        <source>编译脚本运行失败（退出码 %1）：%2，目录：%3</source>
        <translation>The build script failed (exit code %1): %2, in the folder %3</translation>
    </message>
    <message>
        <source>编译脚本运行失败（退出码 %1）</source>
        <translation>The build script failed (exit code %1)</translation>
    </message>
    <message>
        <source>测试工程的路径含有非 ASCII 字符“%1”，而本工具无法按代码页 %2（cmd 读取编译脚本 config.bat 所用的代码页）写入非 ASCII 字符：
%3

本次没有改写任何文件，也没有运行编译脚本。请将工具放到路径中只有 ASCII 字符的文件夹后再试。</source>
        <translation>The test project&apos;s path holds the non-ASCII character &quot;%1&quot;, and this tool cannot write non-ASCII characters in code page %2 (the code page cmd reads the build script config.bat in):
%3

No file was rewritten and the build script was not run. Move the tool to a folder whose path holds ASCII characters only and try again.</translation>
    </message>
</context>
<context>
    <name>CaptureCheck</name>
    <message>
        <source>信噪比 %1</source>
        <translation>SNR %1</translation>
    </message>
    <message>
        <source>手指中途按下或离开</source>
        <translation>finger pressed or lifted during the measurement</translation>
    </message>
    <message>
        <source>水在测量中途加上或擦去</source>
        <translation>water added or wiped off during the measurement</translation>
    </message>
    <message>
        <source>测量中有触摸</source>
        <translation>touched while measured</translation>
    </message>
    <message>
        <source>未检测到水的影响</source>
        <translation>no effect of water seen</translation>
    </message>
</context>
<context>
    <name>ChannelRecorder</name>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>重新测量</source>
        <translation>Measure again</translation>
    </message>
    <message>
        <source>保留此结果</source>
        <translation>Keep this result</translation>
    </message>
    <message>
        <source>放弃</source>
        <translation>Discard</translation>
    </message>
    <message>
        <source>已选择：%1</source>
        <translation>Chosen: %1</translation>
    </message>
</context>
<context>
    <name>ChannelTestSequencer</name>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>请确保触摸板干净、无触摸、无水渍！</source>
        <translation>Make sure the touch pad is clean, untouched and dry!</translation>
    </message>
    <message>
        <source>正在调试请勿点击！</source>
        <translation>Tuning in progress, do not click!</translation>
    </message>
    <message>
        <source>请选择需要调试的通道！</source>
        <translation>Choose the channels to tune!</translation>
    </message>
    <message>
        <source>开始调试TK%1，先请勿触摸！</source>
        <translation>Tuning TK%1: do not touch it yet!</translation>
    </message>
    <message>
        <source>请勿触摸 TK0，开始测量（不触摸） ...</source>
        <translation>Do not touch TK0, measuring (no touch) ...</translation>
    </message>
    <message>
        <source>请勿触摸TK%1，开始测量（不触摸） ...</source>
        <translation>Do not touch TK%1, measuring (no touch) ...</translation>
    </message>
    <message>
        <source>请按TK%1 ，开始测量(触摸)...！</source>
        <translation>Press TK%1, measuring (touch) ...!</translation>
    </message>
    <message>
        <source>所选通道不触摸与触摸测试完成！</source>
        <translation>No-touch and touch test of the chosen channels finished!</translation>
    </message>
    <message>
        <source>正在执行停止，请稍等！</source>
        <translation>Stopping, please wait!</translation>
    </message>
    <message>
        <source>请连接调试器！</source>
        <translation>Please connect the debugger!</translation>
    </message>
    <message>
        <source>停止测试失败！</source>
        <translation>Stopping the test failed!</translation>
    </message>
    <message>
        <source>TK%1 的触摸测量可疑（%2）。</source>
        <translation>The touch measurement of TK%1 is doubtful (%2).</translation>
    </message>
    <message>
        <source>停止测试</source>
        <translation>Stop test</translation>
    </message>
    <message>
        <source>调试器已断开</source>
        <translation>Debugger unplugged</translation>
    </message>
    <message>
        <source>发送数据超时</source>
        <translation>Sending timed out</translation>
    </message>
    <message>
        <source>TK%1 的触摸测试</source>
        <translation>The touch test of TK%1</translation>
    </message>
    <message>
        <source>TK%1 的防水测试</source>
        <translation>The waterproof test of TK%1</translation>
    </message>
    <message>
        <source>%1已中止：%2</source>
        <translation>%1 was stopped: %2</translation>
    </message>
    <message>
        <source>TK%1 的不触摸测量可疑（%2）。</source>
        <translation>The no-touch measurement of TK%1 is doubtful (%2).</translation>
    </message>
    <message>
        <source>TK%1 是 %2 段：请按在该段中央。</source>
        <translation>TK%1 is segment %2: press the middle of the segment.</translation>
    </message>
</context>
<context>
    <name>CheckThread</name>
    <message>
        <source>握手失败！</source>
        <translation>Handshake failed!</translation>
    </message>
    <message>
        <source>接收返回超时！</source>
        <translation>No reply in time!</translation>
    </message>
</context>
<context>
    <name>CouplingMatrix</name>
    <message>
        <source>触摸 TK%1 时 TK%2 偏移 %3，达到阈值余量的 %4%</source>
        <translation>Touching TK%1 shifts TK%2 by %3, %4% of its threshold margin</translation>
    </message>
    <message>
        <source>触摸 %1 时的邻键影响未测</source>
        <translation>What a touch on %1 does to this key: not measured</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
</context>
<context>
    <name>DecisionTimeline</name>
    <message>
        <source>%1 秒：计数 %2，基线 %3，按下阈值 %4，释放阈值 %5，消抖 %6/%7，%8</source>
        <translation>%1 s: count %2, base %3, press threshold %4, release threshold %5, debounce %6/%7, %8</translation>
    </message>
    <message>
        <source>按下</source>
        <translation>pressed</translation>
    </message>
    <message>
        <source>未按下</source>
        <translation>not pressed</translation>
    </message>
    <message>
        <source>选择按键与录制文件</source>
        <translation>Choose a key and a recording</translation>
    </message>
    <message>
        <source>%1 秒</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>消抖</source>
        <translation>Debounce</translation>
    </message>
    <message>
        <source>误触发</source>
        <translation>False press</translation>
    </message>
    <message>
        <source>漏触</source>
        <translation>Miss</translation>
    </message>
    <message>
        <source>计数</source>
        <translation>Count</translation>
    </message>
    <message>
        <source>基线</source>
        <translation>Base</translation>
    </message>
    <message>
        <source>按下阈值</source>
        <translation>Press threshold</translation>
    </message>
    <message>
        <source>释放阈值</source>
        <translation>Release threshold</translation>
    </message>
</context>
<context>
    <name>DiagnosticsMenu</name>
    <message>
        <source>导出诊断包…</source>
        <translation>Export diagnostics…</translation>
    </message>
    <message>
        <source>   诊断 </source>
        <translation>   Diagnostics </translation>
    </message>
    <message>
        <source>导出诊断包，供技术支持分析问题</source>
        <translation>Export the diagnostics bundle for whoever helps you</translation>
    </message>
    <message>
        <source>导出诊断包</source>
        <translation>Export diagnostics</translation>
    </message>
    <message>
        <source>诊断包(*.zip)</source>
        <translation>Diagnostics bundle (*.zip)</translation>
    </message>
    <message>
        <source>文件夹不存在</source>
        <translation>the folder does not exist</translation>
    </message>
    <message>
        <source>诊断包是一个 zip 文件，可发给技术支持分析问题。它包含：
· 工程文件及其采样数据
· 本次运行的日志（带时间）
· 与调试器之间最近的通信记录
· 软件与 Qt 的版本、操作系统、调试器的状态
· 用户设置文件
不包含磁盘上的其他文件。</source>
        <translation>The diagnostics bundle is one zip file that you can send to support. It holds:
· the project file and its samples
· this session&apos;s log, with times
· the recent traffic with the debugger
· the versions of the tool and of Qt, the operating system, the debugger&apos;s state
· your settings file
Nothing else of your disk.</translation>
    </message>
    <message>
        <source>附上最后一次录制：%1（%2）</source>
        <translation>Include the last recording: %1 (%2)</translation>
    </message>
    <message>
        <source>正在写入诊断包：%1</source>
        <translation>Writing the diagnostics bundle: %1</translation>
    </message>
    <message>
        <source>诊断包已导出：%1（%2）</source>
        <translation>Diagnostics bundle exported: %1 (%2)</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>诊断包未能写入：%1
请确认所在文件夹存在并且可以写入，或另选一个文件夹。
（%2）</source>
        <translation>The diagnostics bundle could not be written: %1
Make sure its folder exists and can be written, or choose another folder.
(%2)</translation>
    </message>
</context>
<context>
    <name>EvaluationMenu</name>
    <message>
        <source>评估录制文件…</source>
        <translation>Evaluate recordings…</translation>
    </message>
    <message>
        <source>误触发测试</source>
        <translation>False-touch test</translation>
    </message>
    <message>
        <source>   评估 </source>
        <translation>   Evaluate </translation>
    </message>
    <message>
        <source>评估录制文件与误触发测试</source>
        <translation>Evaluate recordings, false-touch test</translation>
    </message>
</context>
<context>
    <name>EvaluationReport</name>
    <message>
        <source>键名</source>
        <translation>Key</translation>
    </message>
    <message>
        <source>按键</source>
        <translation>Key no.</translation>
    </message>
    <message>
        <source>触摸</source>
        <translation>Touches</translation>
    </message>
    <message>
        <source>命中</source>
        <translation>Hits</translation>
    </message>
    <message>
        <source>漏触</source>
        <translation>Misses</translation>
    </message>
    <message>
        <source>误触发</source>
        <translation>False presses</translation>
    </message>
    <message>
        <source>按下用时
中位/最长(ms)</source>
        <translation>Time to press
median/max (ms)</translation>
    </message>
    <message>
        <source>按下余量</source>
        <translation>Press margin</translation>
    </message>
    <message>
        <source>释放余量</source>
        <translation>Release margin</translation>
    </message>
    <message>
        <source>无结果</source>
        <translation>No results</translation>
    </message>
    <message>
        <source>最大偏移</source>
        <translation>Largest excursion</translation>
    </message>
    <message>
        <source>占按下余量</source>
        <translation>Share of press margin</translation>
    </message>
    <message>
        <source>结论</source>
        <translation>Verdict</translation>
    </message>
    <message>
        <source>合格</source>
        <translation>Pass</translation>
    </message>
    <message>
        <source>不合格</source>
        <translation>Fail</translation>
    </message>
    <message>
        <source>TK%1：无结果（结果表中没有完整的均值）</source>
        <translation>TK%1: no results (the results table lacks a complete set of means)</translation>
    </message>
    <message>
        <source>TK%1：误触发 %2 次，最大偏移 %3（占按下余量 %4），%5</source>
        <translation>TK%1: %2 false presses, largest excursion %3 (%4 of the press margin), %5</translation>
    </message>
    <message>
        <source>误触发测试（%1 分钟，无人触摸）</source>
        <translation>False-touch test (%1 min, untouched)</translation>
    </message>
    <message>
        <source>录制文件评估</source>
        <translation>Evaluation of recordings</translation>
    </message>
    <message>
        <source>录制文件：%1；%2 条记录，%3 秒；%4</source>
        <translation>Recordings: %1; %2 records, %3 s; %4</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>设置（按下位置 / 迟滞 / 消抖 / 最长按下 / 防水下限）</source>
        <translation>Settings (press position / hysteresis / debounce / longest press / water floor)</translation>
    </message>
    <message>
        <source>误触发：无人触摸时的按下。最大偏移：计数减固件基线的最大值；按下余量：按下阈值与基线之差。无误触发且最大偏移低于按下余量的一半为合格。</source>
        <translation>False press: a press while nobody touched. Largest excursion: the largest count minus the firmware&apos;s base; press margin: the press threshold minus the base. A key passes with no false press and a largest excursion below half its press margin.</translation>
    </message>
    <message>
        <source>命中：该键触摸阶段内的按下；漏触：该键完整的触摸阶段内没有按下；误触发：不触摸、加水、标为无人触摸的验证以及其他按键触摸时的按下。按下用时：手指到达（计数升过摆幅一半）至按下。按下余量：未触摸且未按下时按下阈值减计数的最小值；释放余量：触摸且按下时计数减释放阈值的最小值；为负表示越过。</source>
        <translation>Hit: a press in the key&apos;s touch phase; miss: a whole touch phase of the key without a press; false press: a press while nobody touched, with water, in verification marked untouched, or while another key was touched. Time to press: from the finger&apos;s arrival (the count past half the swing) to the press. Press margin: the smallest press threshold minus count while untouched and not pressed; release margin: the smallest count minus release threshold while touched and pressed; below 0 means crossed.</translation>
    </message>
    <message>
        <source>误触发（共 %1 次）</source>
        <translation>False presses (%1 in all)</translation>
    </message>
    <message>
        <source>录制文件</source>
        <translation>Recording</translation>
    </message>
    <message>
        <source>情形</source>
        <translation>Situation</translation>
    </message>
    <message>
        <source>另有 %1 次未列出</source>
        <translation>%1 more not listed</translation>
    </message>
    <message>
        <source>次数</source>
        <translation>Count</translation>
    </message>
    <message>
        <source>时间（秒）首次–末次</source>
        <translation>Time (s), first – last</translation>
    </message>
</context>
<context>
    <name>EvidenceFile</name>
    <message>
        <source>无法删除测试结论文件 %1</source>
        <translation>Cannot remove the evidence file %1</translation>
    </message>
    <message>
        <source>无法写入测试结论文件 %1：%2</source>
        <translation>Cannot write the evidence file %1: %2</translation>
    </message>
    <message>
        <source>无法读取测试结论文件 %1：%2</source>
        <translation>Cannot read the evidence file %1: %2</translation>
    </message>
    <message>
        <source>测试结论文件 %1 大于 %2 MB，未读取</source>
        <translation>Evidence file %1 is larger than %2 MB and was not read</translation>
    </message>
    <message>
        <source>测试结论文件 %1 已损坏（第 %2 字节），未读取</source>
        <translation>Evidence file %1 is damaged (at byte %2) and was not read</translation>
    </message>
    <message>
        <source>无法保留测试结论文件 %1 为 %2</source>
        <translation>Could not keep the evidence file %1 as %2</translation>
    </message>
</context>
<context>
    <name>FalseTouchTest</name>
    <message>
        <source>误触发测试：还剩 %1 分钟</source>
        <translation>False-touch test: %1 min left</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>误触发测试</source>
        <translation>False-touch test</translation>
    </message>
    <message>
        <source>测试期间请勿触摸面板（可开启风扇、充电器、电源噪声或喷水）。请选择测试时长：</source>
        <translation>Do not touch the panel during the test (fans, chargers, supply noise or sprayed water may run). Choose how long the test runs:</translation>
    </message>
    <message>
        <source>%1 分钟</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>正在调试请勿点击！</source>
        <translation>Tuning in progress, please do not click!</translation>
    </message>
    <message>
        <source>调试器打开失败！</source>
        <translation>Failed to open the debugger!</translation>
    </message>
    <message>
        <source>结果表中没有测完不触摸、触摸与防水的按键，无法判断误触发！</source>
        <translation>No key in the results table has its no-touch, touch and waterproof means: false presses cannot be judged!</translation>
    </message>
    <message>
        <source>误触发测试无法开始：验证效果未能启动！</source>
        <translation>The false-touch test cannot start: verification did not start!</translation>
    </message>
    <message>
        <source>误触发测试开始：%1 分钟，请勿触摸面板</source>
        <translation>False-touch test started: %1 min, do not touch the panel</translation>
    </message>
    <message>
        <source>误触发测试结束，录制文件：%1</source>
        <translation>False-touch test ended, recording: %1</translation>
    </message>
    <message>
        <source>误触发测试完成：合格 %1 个，不合格 %2 个</source>
        <translation>False-touch test done: %1 passed, %2 failed</translation>
    </message>
    <message>
        <source>误触发测试已中止，录制文件已保留：%1</source>
        <translation>False-touch test stopped, the recording is kept: %1</translation>
    </message>
    <message>
        <source>误触发测试已中止：录制在 %1 秒（共 %2 秒）时写入失败，只录下部分数据，不作判断</source>
        <translation>False-touch test aborted: the recording failed to write at %1 s (of %2 s); only part of the data was recorded, no verdict</translation>
    </message>
    <message>
        <source>误触发测试已中止：录制在 %1 秒（共 %2 秒）时结束，只录下部分数据，不作判断</source>
        <translation>False-touch test aborted: the recording ended at %1 s (of %2 s); only part of the data was recorded, no verdict</translation>
    </message>
    <message>
        <source>误触发测试已中止：录制没有录完整个测试，不作判断</source>
        <translation>False-touch test aborted: the recording does not cover the whole test, no verdict</translation>
    </message>
</context>
<context>
    <name>Histogram</name>
    <message>
        <source>无数据</source>
        <translation>No data</translation>
    </message>
</context>
<context>
    <name>KeyNumberCheck</name>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>（按键 %1）</source>
        <translation> (key %1)</translation>
    </message>
    <message>
        <source>以下通道没有按键号：</source>
        <translation>These channels have no key number: </translation>
    </message>
    <message>
        <source>以下通道的按键号重复：</source>
        <translation>These channels share a key number: </translation>
    </message>
    <message>
        <source>，</source>
        <translation>; </translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>以下通道的按键号超出 1～%1：</source>
        <translation>These channels have a key number beyond 1 to %1: </translation>
    </message>
    <message>
        <source>工程中没有使用的通道：请先在设置页面的芯片引脚图上为通道选择按键！</source>
        <translation>The project uses no channel: choose a key for a channel on the chip&apos;s pin drawing of the settings page first!</translation>
    </message>
    <message>
        <source>%1（%2 段，至少 %3 段）</source>
        <translation>%1 (%2 segments, at least %3)</translation>
    </message>
    <message>
        <source>以下滑条或滚轮的段数不够：</source>
        <translation>These sliders or wheels have too few segments: </translation>
    </message>
</context>
<context>
    <name>KeyQuality</name>
    <message>
        <source>信号不为正</source>
        <translation>signal not positive</translation>
    </message>
    <message>
        <source>信噪比低于5:1</source>
        <translation>SNR below 5:1</translation>
    </message>
    <message>
        <source>信噪比低于10:1</source>
        <translation>SNR below 10:1</translation>
    </message>
    <message>
        <source>防水偏移达到信号的一半</source>
        <translation>water shift reaches half the signal</translation>
    </message>
    <message>
        <source>合格</source>
        <translation>pass</translation>
    </message>
    <message>
        <source>注意</source>
        <translation>caution</translation>
    </message>
    <message>
        <source>不合格</source>
        <translation>fail</translation>
    </message>
    <message>
        <source>未测</source>
        <translation>not measured</translation>
    </message>
    <message>
        <source>%1：噪声 %2，信号 %3，信噪比 %4，防水偏移 %5</source>
        <translation>%1: noise %2, signal %3, SNR %4, water shift %5</translation>
    </message>
    <message>
        <source>，</source>
        <translation>, </translation>
    </message>
    <message>
        <source>（%1）</source>
        <translation> (%1)</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1：均值 %2，最小 %3，最大 %4，标准差 %5</source>
        <translation>%1: mean %2, minimum %3, maximum %4, standard deviation %5</translation>
    </message>
    <message>
        <source>：</source>
        <translation>: </translation>
    </message>
    <message>
        <source>数据不全</source>
        <translation>incomplete data</translation>
    </message>
    <message>
        <source>（信号的 %1）</source>
        <translation> (%1 of the signal)</translation>
    </message>
    <message>
        <source>不触摸</source>
        <translation>No touch</translation>
    </message>
    <message>
        <source>触摸</source>
        <translation>Touch</translation>
    </message>
    <message>
        <source>防水</source>
        <translation>Water</translation>
    </message>
    <message>
        <source>噪声 %1，信号 %2，信噪比 %3</source>
        <translation>Noise %1, signal %2, SNR %3</translation>
    </message>
    <message>
        <source>防水偏移 %1</source>
        <translation>Water shift %1</translation>
    </message>
    <message>
        <source>余量：触摸 %1，不触摸 %2，防水 %3</source>
        <translation>Margins: touch %1, no touch %2, water %3</translation>
    </message>
    <message>
        <source>表格数值已手动修改，与采样不符</source>
        <translation>table value edited by hand, differs from the samples</translation>
    </message>
    <message>
        <source>信号 %1 不为正</source>
        <translation>signal %1 not positive</translation>
    </message>
    <message>
        <source>信噪比 %1 低于 5:1</source>
        <translation>SNR %1 below 5:1</translation>
    </message>
    <message>
        <source>信噪比 %1 低于 10:1</source>
        <translation>SNR %1 below 10:1</translation>
    </message>
    <message>
        <source>防水偏移 %1 达到信号的一半</source>
        <translation>water shift %1 reaches half the signal</translation>
    </message>
    <message>
        <source>无采样</source>
        <translation>no samples</translation>
    </message>
    <message>
        <source>%1：均值 %2，无采样</source>
        <translation>%1: mean %2, no samples</translation>
    </message>
    <message>
        <source>邻键触摸时会被按下</source>
        <translation>pressed by a touch on a neighbour</translation>
    </message>
    <message>
        <source>触摸最小值未超过按下阈值</source>
        <translation>touch minimum not above the press threshold</translation>
    </message>
    <message>
        <source>触摸最小值 %1 未超过按下阈值 %2</source>
        <translation>touch minimum %1 not above press threshold %2</translation>
    </message>
    <message>
        <source>不触摸最大值达到释放阈值</source>
        <translation>no-touch maximum reaches the release threshold</translation>
    </message>
    <message>
        <source>不触摸最大值 %1 达到释放阈值 %2</source>
        <translation>no-touch maximum %1 reaches release threshold %2</translation>
    </message>
    <message>
        <source>防水最大值达到释放阈值</source>
        <translation>water maximum reaches the release threshold</translation>
    </message>
    <message>
        <source>防水最大值 %1 达到释放阈值 %2</source>
        <translation>water maximum %1 reaches release threshold %2</translation>
    </message>
    <message>
        <source>防水下限已关闭</source>
        <translation>water floor switched off</translation>
    </message>
    <message>
        <source>防水下限已关闭，按下阈值 %1 低于摆幅的四分之三</source>
        <translation>water floor switched off, press threshold %1 below three quarters of the swing</translation>
    </message>
    <message>
        <source>%1（%2%）</source>
        <translation>%1 (%2%)</translation>
    </message>
    <message>
        <source>设置：%1</source>
        <translation>Settings: %1</translation>
    </message>
    <message>
        <source>按下阈值 %1，释放阈值 %2</source>
        <translation>Press threshold %1, release threshold %2</translation>
    </message>
</context>
<context>
    <name>KeySettings</name>
    <message>
        <source>按下位置</source>
        <translation>Press at</translation>
    </message>
    <message>
        <source>迟滞</source>
        <translation>Hysteresis</translation>
    </message>
    <message>
        <source>消抖</source>
        <translation>Debounce</translation>
    </message>
    <message>
        <source>最长按下</source>
        <translation>Longest press</translation>
    </message>
    <message>
        <source>防水下限</source>
        <translation>Water floor</translation>
    </message>
    <message>
        <source>%1%</source>
        <translation>%1%</translation>
    </message>
    <message>
        <source>%1 次</source>
        <translation>%1 scans</translation>
    </message>
    <message>
        <source>不限</source>
        <translation>no limit</translation>
    </message>
    <message>
        <source>%1 秒</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>开</source>
        <translation>on</translation>
    </message>
    <message>
        <source>关</source>
        <translation>off</translation>
    </message>
    <message>
        <source>%1 %2（默认 %3）</source>
        <translation>%1 %2 (default %3)</translation>
    </message>
    <message>
        <source>%1 次（第 %2 次扫描按下）</source>
        <translation>%1 scans (pressed on scan %2)</translation>
    </message>
</context>
<context>
    <name>KeySettingsPanel</name>
    <message>
        <source>按键设置</source>
        <translation>Key settings</translation>
    </message>
    <message>
        <source>建议设置</source>
        <translation>Suggest settings</translation>
    </message>
    <message>
        <source>恢复默认</source>
        <translation>Restore defaults</translation>
    </message>
    <message>
        <source>开：加水时偏移超过摆幅一半的按键，按下阈值不低于摆幅的四分之三</source>
        <translation>On: where water shifts a key by more than half its swing, the press threshold stays at three quarters of the swing or above</translation>
    </message>
    <message>
        <source>按键：</source>
        <translation>Key:</translation>
    </message>
    <message>
        <source>%（10–90）</source>
        <translation>% (10–90)</translation>
    </message>
    <message>
        <source>%（0–50）</source>
        <translation>% (0–50)</translation>
    </message>
    <message>
        <source>秒（0 不限，1–255）</source>
        <translation>s (0 none, 1–255)</translation>
    </message>
    <message>
        <source>：</source>
        <translation>: </translation>
    </message>
    <message>
        <source>全部按键</source>
        <translation>All keys</translation>
    </message>
    <message>
        <source>TK%1（按键 %2）</source>
        <translation>TK%1 (key %2)</translation>
    </message>
    <message>
        <source>没有使用中的按键：请先在设置页选择按键。</source>
        <translation>No key in use: choose the keys on the Settings tab first.</translation>
    </message>
    <message>
        <source>各按键的设置不同，这里显示 TK%1 的；修改的项将用于全部按键。</source>
        <translation>The keys&apos; settings differ; TK%1&apos;s are shown. A field you change applies to every key.</translation>
    </message>
    <message>
        <source>次后按下（1–15）</source>
        <translation>scans, then press</translation>
    </message>
    <message>
        <source>连续这么多次扫描超过按下阈值后，下一次扫描才按下：3 次即第 4 次扫描按下</source>
        <translation>1–15: after this many scans in a row above the press threshold, the next scan presses: 3 means pressed on the 4th scan</translation>
    </message>
    <message>
        <source>%1 %2（%3 段）</source>
        <translation>%1 %2 (%3 segments)</translation>
    </message>
    <message>
        <source>%1 的各段共用这些设置，按滑条的强度判断。</source>
        <translation>All segments of %1 share these settings; the slider&apos;s strength is judged.</translation>
    </message>
</context>
<context>
    <name>KeySuggestion</name>
    <message>
        <source>%1（%2%）</source>
        <translation>%1 (%2%)</translation>
    </message>
    <message>
        <source>%1：测试未完成，无法建议设置</source>
        <translation>%1: tests not complete, no settings to suggest</translation>
    </message>
    <message>
        <source>%1：触摸时的均值不高于不触摸时的均值，没有可用的阈值</source>
        <translation>%1: the touch mean is not above the no-touch mean, no threshold is safe</translation>
    </message>
    <message>
        <source>%1：不触摸时的最大值高于触摸时的最小值，没有可用的阈值</source>
        <translation>%1: the no-touch maximum is above the touch minimum, no threshold is safe</translation>
    </message>
    <message>
        <source>%1：加水时的最大值高于触摸时的最小值，没有可用的阈值</source>
        <translation>%1: the maximum with water is above the touch minimum, no threshold is safe</translation>
    </message>
    <message>
        <source>%1：触摸 TK%2 时的读数高于触摸时的最小值，没有可用的阈值</source>
        <translation>%1: the readings while TK%2 is touched are above the touch minimum, no threshold is safe</translation>
    </message>
    <message>
        <source>%1：安全区间不在按下位置 10%～90% 之内，没有可用的阈值</source>
        <translation>%1: the safe gap lies outside press positions 10%–90%, no threshold is safe</translation>
    </message>
    <message>
        <source>，防水下限 关</source>
        <translation>, water floor off</translation>
    </message>
    <message>
        <source>%1：按下位置 %2%，迟滞 %3%%4（按下阈值 %5，释放阈值 %6；余量：触摸 %7，未触摸 %8，释放 %9）</source>
        <translation>%1: press at %2%, hysteresis %3%%4 (press threshold %5, release threshold %6; margins: touch %7, untouched %8, release %9)</translation>
    </message>
</context>
<context>
    <name>KeySuggestionBox</name>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>没有使用中的按键：请先在设置页选择按键。</source>
        <translation>No key in use: choose the keys on the Settings tab first.</translation>
    </message>
    <message>
        <source>建议设置</source>
        <translation>Suggest settings</translation>
    </message>
    <message>
        <source>应用到 %1</source>
        <translation>Apply to %1</translation>
    </message>
    <message>
        <source>应用到全部按键</source>
        <translation>Apply to all keys</translation>
    </message>
    <message>
        <source>应用到 %1 个按键</source>
        <translation>Apply to %1 keys</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>%1：已应用建议设置，按下位置 %2%，迟滞 %3%</source>
        <translation>%1: suggested settings applied, press at %2%, hysteresis %3%</translation>
    </message>
</context>
<context>
    <name>LimitsEditor</name>
    <message>
        <source>无触摸值窗口 ±</source>
        <translation>No-touch window ±</translation>
    </message>
    <message>
        <source>噪声上限 = 调试噪声 ×</source>
        <translation>Noise maximum = tuned noise ×</translation>
    </message>
    <message>
        <source>信号下限 = 调试信号 ×</source>
        <translation>Signal minimum = tuned signal ×</translation>
    </message>
    <message>
        <source>每键触摸限时</source>
        <translation>Time to touch each key</translation>
    </message>
    <message>
        <source>%</source>
        <translation>%</translation>
    </message>
    <message>
        <source> 秒</source>
        <translation> s</translation>
    </message>
    <message>
        <source>逐个触摸按键测试信号</source>
        <translation>Test the signal: touch each key in turn</translation>
    </message>
    <message>
        <source>通道</source>
        <translation>Ch.</translation>
    </message>
    <message>
        <source>按键</source>
        <translation>Key no.</translation>
    </message>
    <message>
        <source>调试均值</source>
        <translation>Tuned mean</translation>
    </message>
    <message>
        <source>调试噪声</source>
        <translation>Tuned noise</translation>
    </message>
    <message>
        <source>调试信号</source>
        <translation>Tuned signal</translation>
    </message>
    <message>
        <source>无触摸下限</source>
        <translation>No-touch min.</translation>
    </message>
    <message>
        <source>无触摸上限</source>
        <translation>No-touch max.</translation>
    </message>
    <message>
        <source>噪声上限</source>
        <translation>Noise max.</translation>
    </message>
    <message>
        <source>信号下限</source>
        <translation>Signal min.</translation>
    </message>
    <message>
        <source>应用到全部通道</source>
        <translation>Apply to all channels</translation>
    </message>
    <message>
        <source>把所选单元格的限值用于每个通道</source>
        <translation>Give every channel the limit of the chosen cell</translation>
    </message>
    <message>
        <source>全部恢复推导值</source>
        <translation>All back to derived</translation>
    </message>
    <message>
        <source>手动设定；清空后恢复推导值</source>
        <translation>Set by hand; empty the cell for the derived limit</translation>
    </message>
    <message>
        <source>按规则推导</source>
        <translation>Derived by the rule</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>%1 等 %2 个通道</source>
        <translation>%1 and more, %2 channels in all</translation>
    </message>
    <message>
        <source>粗体为手动设定的限值，其余按上面的规则从调试结果推导。</source>
        <translation>Limits in bold are set by hand; the others follow from the tuning results by the rule above.</translation>
    </message>
    <message>
        <source>没有无触摸值限值（需先调试或手动设定）：%1</source>
        <translation>No no-touch limits (tune first or set them by hand): %1</translation>
    </message>
    <message>
        <source>无触摸值下限高于上限，任何板都不能通过：%1</source>
        <translation>No-touch lower limit above the upper one, no board can pass: %1</translation>
    </message>
    <message>
        <source>未采用：无触摸值下限不能高于上限（%1）</source>
        <translation>Not taken: the no-touch lower limit cannot be above the upper one (%1)</translation>
    </message>
    <message>
        <source>未采用：“%1”不是 0 到 65535 的整数</source>
        <translation>Not taken: &quot;%1&quot; is no whole number from 0 to 65535</translation>
    </message>
    <message>
        <source>以下通道保留原限值，否则无触摸值下限会高于上限：%1</source>
        <translation>These channels keep their limit, or their no-touch lower limit would be above the upper one: %1</translation>
    </message>
</context>
<context>
    <name>LiveChart</name>
    <message>
        <source>按下阈值 %1</source>
        <translation>Press threshold %1</translation>
    </message>
    <message>
        <source>释放阈值 %1</source>
        <translation>Release threshold %1</translation>
    </message>
</context>
<context>
    <name>LiveChartView</name>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>LogHistory</name>
    <message>
        <source>—— 日志窗口已清空 ——</source>
        <translation>—— log pane cleared ——</translation>
    </message>
    <message>
        <source>日志已保存：%1</source>
        <translation>Log saved: %1</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>MainWindow</source>
        <translation>MainWindow</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:12pt; font-weight:600;&quot;&gt;KAPRILO上位机V1.1.0.230714&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:12pt; font-weight:600;&quot;&gt;KAPRILO Touch Tuner V1.1.0.230714&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>调试器已链接</source>
        <translation>Debugger connected</translation>
    </message>
    <message>
        <source>   菜单 </source>
        <translation>   Menu </translation>
    </message>
    <message>
        <source>   调试 </source>
        <translation>   Tuning </translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>工程设置</source>
        <translation>Project</translation>
    </message>
    <message>
        <source>工程路径：</source>
        <translation>Project path:</translation>
    </message>
    <message>
        <source>浏览</source>
        <translation>Browse</translation>
    </message>
    <message>
        <source>配置参数：</source>
        <translation>Project name:</translation>
    </message>
    <message>
        <source>touchProName</source>
        <translation>touchProName</translation>
    </message>
    <message>
        <source>载入</source>
        <translation>Load</translation>
    </message>
    <message>
        <source>MUC型号：</source>
        <translation>MCU model:</translation>
    </message>
    <message>
        <source>RM3KV5172_SOP28</source>
        <translation>RM3KV5172_SOP28</translation>
    </message>
    <message>
        <source>RM3KV5172_SOP20</source>
        <translation>RM3KV5172_SOP20</translation>
    </message>
    <message>
        <source>RM3KV5172_SOP16</source>
        <translation>RM3KV5172_SOP16</translation>
    </message>
    <message>
        <source>按键</source>
        <translation>Keys</translation>
    </message>
    <message>
        <source>按键：</source>
        <translation>Keys:</translation>
    </message>
    <message>
        <source>0</source>
        <translation>0</translation>
    </message>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>2</source>
        <translation>2</translation>
    </message>
    <message>
        <source>3</source>
        <translation>3</translation>
    </message>
    <message>
        <source>4</source>
        <translation>4</translation>
    </message>
    <message>
        <source>5</source>
        <translation>5</translation>
    </message>
    <message>
        <source>6</source>
        <translation>6</translation>
    </message>
    <message>
        <source>7</source>
        <translation>7</translation>
    </message>
    <message>
        <source>8</source>
        <translation>8</translation>
    </message>
    <message>
        <source>9</source>
        <translation>9</translation>
    </message>
    <message>
        <source>10</source>
        <translation>10</translation>
    </message>
    <message>
        <source>11</source>
        <translation>11</translation>
    </message>
    <message>
        <source>12</source>
        <translation>12</translation>
    </message>
    <message>
        <source>13</source>
        <translation>13</translation>
    </message>
    <message>
        <source>14</source>
        <translation>14</translation>
    </message>
    <message>
        <source>15</source>
        <translation>15</translation>
    </message>
    <message>
        <source>16</source>
        <translation>16</translation>
    </message>
    <message>
        <source>17</source>
        <translation>17</translation>
    </message>
    <message>
        <source>18</source>
        <translation>18</translation>
    </message>
    <message>
        <source>19</source>
        <translation>19</translation>
    </message>
    <message>
        <source>20</source>
        <translation>20</translation>
    </message>
    <message>
        <source>21</source>
        <translation>21</translation>
    </message>
    <message>
        <source>22</source>
        <translation>22</translation>
    </message>
    <message>
        <source>23</source>
        <translation>23</translation>
    </message>
    <message>
        <source>24</source>
        <translation>24</translation>
    </message>
    <message>
        <source>25</source>
        <translation>25</translation>
    </message>
    <message>
        <source>滑条：</source>
        <translation>Sliders:</translation>
    </message>
    <message>
        <source>滚轮：</source>
        <translation>Wheels:</translation>
    </message>
    <message>
        <source>功能</source>
        <translation>Functions</translation>
    </message>
    <message>
        <source>低功耗</source>
        <translation>Low power</translation>
    </message>
    <message>
        <source>唤醒时间：</source>
        <translation>Wake time:</translation>
    </message>
    <message>
        <source>4ms</source>
        <translation>4ms</translation>
    </message>
    <message>
        <source>8ms</source>
        <translation>8ms</translation>
    </message>
    <message>
        <source>16ms</source>
        <translation>16ms</translation>
    </message>
    <message>
        <source>32ms</source>
        <translation>32ms</translation>
    </message>
    <message>
        <source>256ms</source>
        <translation>256ms</translation>
    </message>
    <message>
        <source>512ms</source>
        <translation>512ms</translation>
    </message>
    <message>
        <source>1024ms</source>
        <translation>1024ms</translation>
    </message>
    <message>
        <source>2048ms</source>
        <translation>2048ms</translation>
    </message>
    <message>
        <source>进入低功耗时间：</source>
        <translation>Time before low power:</translation>
    </message>
    <message>
        <source>(0-65535 s)</source>
        <translation>(0-65535 s)</translation>
    </message>
    <message>
        <source>唤醒按键</source>
        <translation>Wake keys</translation>
    </message>
    <message>
        <source>TK0</source>
        <translation>TK0</translation>
    </message>
    <message>
        <source>TK1</source>
        <translation>TK1</translation>
    </message>
    <message>
        <source>TK2</source>
        <translation>TK2</translation>
    </message>
    <message>
        <source>TK3</source>
        <translation>TK3</translation>
    </message>
    <message>
        <source>TK4</source>
        <translation>TK4</translation>
    </message>
    <message>
        <source>TK5</source>
        <translation>TK5</translation>
    </message>
    <message>
        <source>TK6</source>
        <translation>TK6</translation>
    </message>
    <message>
        <source>TK7</source>
        <translation>TK7</translation>
    </message>
    <message>
        <source>TK8</source>
        <translation>TK8</translation>
    </message>
    <message>
        <source>TK9</source>
        <translation>TK9</translation>
    </message>
    <message>
        <source>TK10</source>
        <translation>TK10</translation>
    </message>
    <message>
        <source>TK11</source>
        <translation>TK11</translation>
    </message>
    <message>
        <source>TK12</source>
        <translation>TK12</translation>
    </message>
    <message>
        <source>TK13</source>
        <translation>TK13</translation>
    </message>
    <message>
        <source>TK14</source>
        <translation>TK14</translation>
    </message>
    <message>
        <source>TK15</source>
        <translation>TK15</translation>
    </message>
    <message>
        <source>TK16</source>
        <translation>TK16</translation>
    </message>
    <message>
        <source>TK17</source>
        <translation>TK17</translation>
    </message>
    <message>
        <source>TK18</source>
        <translation>TK18</translation>
    </message>
    <message>
        <source>TK19</source>
        <translation>TK19</translation>
    </message>
    <message>
        <source>TK20</source>
        <translation>TK20</translation>
    </message>
    <message>
        <source>TK21</source>
        <translation>TK21</translation>
    </message>
    <message>
        <source>TK22</source>
        <translation>TK22</translation>
    </message>
    <message>
        <source>TK23</source>
        <translation>TK23</translation>
    </message>
    <message>
        <source>TK24</source>
        <translation>TK24</translation>
    </message>
    <message>
        <source>频率</source>
        <translation>Frequency</translation>
    </message>
    <message>
        <source>低</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>中</source>
        <translation>Medium</translation>
    </message>
    <message>
        <source>高</source>
        <translation>High</translation>
    </message>
    <message>
        <source>保存并下载</source>
        <translation>Save and download</translation>
    </message>
    <message>
        <source>调试</source>
        <translation>Tuning</translation>
    </message>
    <message>
        <source>触摸测试</source>
        <translation>Touch test</translation>
    </message>
    <message>
        <source>防水测试</source>
        <translation>Water test</translation>
    </message>
    <message>
        <source>停止测试</source>
        <translation>Stop test</translation>
    </message>
    <message>
        <source>开启验证效果</source>
        <translation>Start verification</translation>
    </message>
    <message>
        <source>生成应用工程</source>
        <translation>Generate application project</translation>
    </message>
    <message>
        <source>TK0 </source>
        <translation>TK0 </translation>
    </message>
    <message>
        <source>TK1 </source>
        <translation>TK1 </translation>
    </message>
    <message>
        <source>TK2 </source>
        <translation>TK2 </translation>
    </message>
    <message>
        <source>TK3 </source>
        <translation>TK3 </translation>
    </message>
    <message>
        <source>TK4 </source>
        <translation>TK4 </translation>
    </message>
    <message>
        <source>TK5 </source>
        <translation>TK5 </translation>
    </message>
    <message>
        <source>TK6 </source>
        <translation>TK6 </translation>
    </message>
    <message>
        <source>TK7 </source>
        <translation>TK7 </translation>
    </message>
    <message>
        <source>TK8 </source>
        <translation>TK8 </translation>
    </message>
    <message>
        <source>TK9 </source>
        <translation>TK9 </translation>
    </message>
    <message>
        <source>启动值：</source>
        <translation>Minimum:</translation>
    </message>
    <message>
        <source>100</source>
        <translation>100</translation>
    </message>
    <message>
        <source>200</source>
        <translation>200</translation>
    </message>
    <message>
        <source>300</source>
        <translation>300</translation>
    </message>
    <message>
        <source>400</source>
        <translation>400</translation>
    </message>
    <message>
        <source>500</source>
        <translation>500</translation>
    </message>
    <message>
        <source>600</source>
        <translation>600</translation>
    </message>
    <message>
        <source>700</source>
        <translation>700</translation>
    </message>
    <message>
        <source>800</source>
        <translation>800</translation>
    </message>
    <message>
        <source>900</source>
        <translation>900</translation>
    </message>
    <message>
        <source>1000</source>
        <translation>1000</translation>
    </message>
    <message>
        <source>1100</source>
        <translation>1100</translation>
    </message>
    <message>
        <source>1200</source>
        <translation>1200</translation>
    </message>
    <message>
        <source>1300</source>
        <translation>1300</translation>
    </message>
    <message>
        <source>1400</source>
        <translation>1400</translation>
    </message>
    <message>
        <source>1500</source>
        <translation>1500</translation>
    </message>
    <message>
        <source>1600</source>
        <translation>1600</translation>
    </message>
    <message>
        <source>1700</source>
        <translation>1700</translation>
    </message>
    <message>
        <source>1800</source>
        <translation>1800</translation>
    </message>
    <message>
        <source>1900</source>
        <translation>1900</translation>
    </message>
    <message>
        <source>2000</source>
        <translation>2000</translation>
    </message>
    <message>
        <source>结束值：</source>
        <translation>Maximum:</translation>
    </message>
    <message>
        <source>全选</source>
        <translation>All</translation>
    </message>
    <message>
        <source>反选</source>
        <translation>Invert</translation>
    </message>
    <message>
        <source>生成应用代码</source>
        <translation>Generate code</translation>
    </message>
    <message>
        <source>调试器已连接</source>
        <translation>Debugger connected</translation>
    </message>
    <message>
        <source>调试器无连接</source>
        <translation>No debugger</translation>
    </message>
    <message>
        <source>调试器打开失败</source>
        <translation>Debugger open failed</translation>
    </message>
    <message>
        <source>调试器已断开</source>
        <translation>Debugger unplugged</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>已检测到调试器，但无法打开它，它可能正被其他程序占用。
请关闭占用调试器的程序，然后拔出调试器再重新插入。</source>
        <translation>A debugger was found but could not be opened; another program may be using it.
Close the program that uses the debugger, then unplug the debugger and plug it in again.</translation>
    </message>
    <message>
        <source>已检测到调试器，但当前用户没有打开它的权限。

需要 udev 规则 60-touchtuner.rules：安装包已把它放在 /usr/lib/udev/rules.d/。未用安装包时，请把源码中的 packaging/linux/60-touchtuner.rules 复制到 /etc/udev/rules.d/，再执行：
sudo udevadm control --reload-rules

然后拔出调试器再重新插入。</source>
        <translation>A debugger was found, but the current user is not allowed to open it.

This needs the udev rule 60-touchtuner.rules: the package puts it in /usr/lib/udev/rules.d/. Without the package, copy packaging/linux/60-touchtuner.rules of the sources to /etc/udev/rules.d/ and run:
sudo udevadm control --reload-rules

Then unplug the debugger and plug it in again.</translation>
    </message>
    <message>
        <source>文件写入失败：%1</source>
        <translation>Could not write the file: %1</translation>
    </message>
    <message>
        <source>   语言 </source>
        <translation>   Language </translation>
    </message>
    <message>
        <source>单击开始此通道的触摸测试</source>
        <translation>Click to start the touch test of this channel</translation>
    </message>
    <message>
        <source>选择路径</source>
        <translation>Choose folder</translation>
    </message>
    <message>
        <source>请选择项目文件存放路径！</source>
        <translation>Choose the folder for the project files!</translation>
    </message>
    <message>
        <source>Open File</source>
        <translation>Open File</translation>
    </message>
    <message>
        <source>ini(*.ini)</source>
        <translation>ini(*.ini)</translation>
    </message>
    <message>
        <source>请选中要打开的文件！</source>
        <translation>Choose the file to open!</translation>
    </message>
    <message>
        <source>录制</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>暂停画面</source>
        <translation>Pause picture</translation>
    </message>
    <message>
        <source>打开录制文件…</source>
        <translation>Open recording…</translation>
    </message>
    <message>
        <source>暂停回放</source>
        <translation>Pause replay</translation>
    </message>
    <message>
        <source>结束回放</source>
        <translation>End replay</translation>
    </message>
    <message>
        <source>工程文件已不存在：%1</source>
        <translation>The project file no longer exists: %1</translation>
    </message>
    <message>
        <source>工程文件中的量产限值无效，已用默认值：%1</source>
        <translation>Invalid production limits in the project file, defaults used: %1</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
</context>
<context>
    <name>Mwidget01</name>
    <message>
        <source>SOP20</source>
        <translation>SOP20</translation>
    </message>
    <message>
        <source>font: 10pt &quot;ADMUI3Lg&quot;;</source>
        <translation>font: 10pt &quot;ADMUI3Lg&quot;;</translation>
    </message>
    <message>
        <source>TK22</source>
        <translation>TK22</translation>
    </message>
    <message>
        <source>TK21</source>
        <translation>TK21</translation>
    </message>
    <message>
        <source>TK20</source>
        <translation>TK20</translation>
    </message>
    <message>
        <source>TK19</source>
        <translation>TK19</translation>
    </message>
    <message>
        <source>TK18</source>
        <translation>TK18</translation>
    </message>
    <message>
        <source>TK15</source>
        <translation>TK15</translation>
    </message>
    <message>
        <source>TK14</source>
        <translation>TK14</translation>
    </message>
    <message>
        <source>TK13</source>
        <translation>TK13</translation>
    </message>
    <message>
        <source>TK12</source>
        <translation>TK12</translation>
    </message>
    <message>
        <source>TK9</source>
        <translation>TK9</translation>
    </message>
    <message>
        <source>TK8</source>
        <translation>TK8</translation>
    </message>
    <message>
        <source>TK5</source>
        <translation>TK5</translation>
    </message>
    <message>
        <source>TK4</source>
        <translation>TK4</translation>
    </message>
    <message>
        <source>TK3</source>
        <translation>TK3</translation>
    </message>
    <message>
        <source>TK2</source>
        <translation>TK2</translation>
    </message>
    <message>
        <source>TK1</source>
        <translation>TK1</translation>
    </message>
    <message>
        <source>TK0</source>
        <translation>TK0</translation>
    </message>
</context>
<context>
    <name>MyWidget02</name>
    <message>
        <source>SOP28</source>
        <translation>SOP28</translation>
    </message>
    <message>
        <source>font: 10pt &quot;ADMUI3Lg&quot;;</source>
        <translation>font: 10pt &quot;ADMUI3Lg&quot;;</translation>
    </message>
    <message>
        <source>TK24</source>
        <translation>TK24</translation>
    </message>
    <message>
        <source>TK23</source>
        <translation>TK23</translation>
    </message>
    <message>
        <source>TK22</source>
        <translation>TK22</translation>
    </message>
    <message>
        <source>TK21</source>
        <translation>TK21</translation>
    </message>
    <message>
        <source>TK20</source>
        <translation>TK20</translation>
    </message>
    <message>
        <source>TK19</source>
        <translation>TK19</translation>
    </message>
    <message>
        <source>TK18</source>
        <translation>TK18</translation>
    </message>
    <message>
        <source>TK17</source>
        <translation>TK17</translation>
    </message>
    <message>
        <source>TK16</source>
        <translation>TK16</translation>
    </message>
    <message>
        <source>TK15</source>
        <translation>TK15</translation>
    </message>
    <message>
        <source>TK14</source>
        <translation>TK14</translation>
    </message>
    <message>
        <source>TK13</source>
        <translation>TK13</translation>
    </message>
    <message>
        <source>TK12</source>
        <translation>TK12</translation>
    </message>
    <message>
        <source>TK11</source>
        <translation>TK11</translation>
    </message>
    <message>
        <source>TK10</source>
        <translation>TK10</translation>
    </message>
    <message>
        <source>TK9</source>
        <translation>TK9</translation>
    </message>
    <message>
        <source>TK8</source>
        <translation>TK8</translation>
    </message>
    <message>
        <source>TK7</source>
        <translation>TK7</translation>
    </message>
    <message>
        <source>TK6</source>
        <translation>TK6</translation>
    </message>
    <message>
        <source>TK5</source>
        <translation>TK5</translation>
    </message>
    <message>
        <source>TK4</source>
        <translation>TK4</translation>
    </message>
    <message>
        <source>TK3</source>
        <translation>TK3</translation>
    </message>
    <message>
        <source>TK2</source>
        <translation>TK2</translation>
    </message>
    <message>
        <source>TK1</source>
        <translation>TK1</translation>
    </message>
    <message>
        <source>TK0</source>
        <translation>TK0</translation>
    </message>
</context>
<context>
    <name>NumbersView</name>
    <message>
        <source>通道</source>
        <translation>Ch.</translation>
    </message>
    <message>
        <source>原始值</source>
        <translation>Raw</translation>
    </message>
    <message>
        <source>基线</source>
        <translation>Base</translation>
    </message>
    <message>
        <source>差值</source>
        <translation>Delta</translation>
    </message>
    <message>
        <source>按下</source>
        <translation>Pressed</translation>
    </message>
    <message>
        <source>噪声(1s)</source>
        <translation>Noise
(1 s)</translation>
    </message>
    <message>
        <source>是</source>
        <translation>yes</translation>
    </message>
    <message>
        <source>按下阈值</source>
        <translation>Press
thr.</translation>
    </message>
    <message>
        <source>释放阈值</source>
        <translation>Release
thr.</translation>
    </message>
</context>
<context>
    <name>OperatorView</name>
    <message>
        <source>开始测试（空格）</source>
        <translation>Start (space bar)</translation>
    </message>
    <message>
        <source>中止此板</source>
        <translation>Abort board</translation>
    </message>
    <message>
        <source>板号：</source>
        <translation>Board:</translation>
    </message>
    <message>
        <source>就绪</source>
        <translation>READY</translation>
    </message>
    <message>
        <source>测试中</source>
        <translation>TESTING</translation>
    </message>
    <message>
        <source>PASS</source>
        <translation>PASS</translation>
    </message>
    <message>
        <source>FAIL</source>
        <translation>FAIL</translation>
    </message>
    <message>
        <source>重测</source>
        <translation>RETEST</translation>
    </message>
    <message>
        <source>停线</source>
        <translation>STOPPED</translation>
    </message>
    <message>
        <source>自动编号 %1（可输入或扫描板号）</source>
        <translation>Counted: %1 (or type or scan a number)</translation>
    </message>
</context>
<context>
    <name>PackageWidget</name>
    <message>
        <source>key%1</source>
        <translation>key%1</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>key%1已被选中，请选择其他key</source>
        <translation>key%1 is taken already; choose another key</translation>
    </message>
    <message>
        <source>TK%1已属于%2</source>
        <translation>TK%1 belongs to %2 already</translation>
    </message>
    <message>
        <source>TK%1已被按键key%2使用，请先点击它取消</source>
        <translation>TK%1 is used by key%2; click it to release it first</translation>
    </message>
    <message>
        <source>%1已有 %2 段</source>
        <translation>%1 has %2 segments already</translation>
    </message>
</context>
<context>
    <name>ProductionLimits</name>
    <message>
        <source>%1 重复：%2</source>
        <translation>%1 given twice: %2</translation>
    </message>
</context>
<context>
    <name>ProductionLine</name>
    <message>
        <source>板 %1：请触摸按键 %2（TK%3）</source>
        <translation>Board %1: touch key %2 (TK%3)</translation>
    </message>
    <message>
        <source>今日记录 %1：%2 块，合格 %3，不合格 %4</source>
        <translation>Today&apos;s log %1: %2 boards, %3 passed, %4 failed</translation>
    </message>
    <message>
        <source>调试、验证或回放正在进行，请先停止</source>
        <translation>A test, verification or replay is running: stop it first</translation>
    </message>
    <message>
        <source>请先在设置页选择工程路径并填写工程名</source>
        <translation>Choose the project path and name on the settings page first</translation>
    </message>
    <message>
        <source>工程中没有使用的按键</source>
        <translation>The project uses no key</translation>
    </message>
    <message>
        <source>以下按键没有限值，请先调试或在量产限值页填写：%1</source>
        <translation>These keys have no limits; tune them or set their limits first: %1</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>调试器无连接</source>
        <translation>No debugger</translation>
    </message>
    <message>
        <source>已中止</source>
        <translation>aborted</translation>
    </message>
    <message>
        <source>板 %1：无触摸采集中，请勿触摸</source>
        <translation>Board %1: measuring untouched, do not touch</translation>
    </message>
    <message>
        <source>板 %1 的结果未能记录，修复后请重测此板。%2</source>
        <translation>The result of board %1 was not logged; test it again once mended. %2</translation>
    </message>
    <message>
        <source>板 %1</source>
        <translation>Board %1</translation>
    </message>
    <message>
        <source>板 %1 未判定，请重测：%2</source>
        <translation>Board %1 not judged, test it again: %2</translation>
    </message>
    <message>
        <source>量产记录无法写入</source>
        <translation>Production log cannot be written</translation>
    </message>
    <message>
        <source>%1

停线：在记录能写入之前不测试任何板。</source>
        <translation>%1

The line stops: no board is tested until the log can be written.</translation>
    </message>
    <message>
        <source>（%1 行无法读取）</source>
        <translation> (%1 lines unreadable)</translation>
    </message>
    <message>
        <source>以下按键的无触摸值下限高于上限，请在量产限值页改正：%1</source>
        <translation>The no-touch lower limit of these keys is above the upper one, correct it on the production limits page: %1</translation>
    </message>
</context>
<context>
    <name>ProductionLog</name>
    <message>
        <source>文件大于 %1 MB</source>
        <translation>the file is larger than %1 MB</translation>
    </message>
    <message>
        <source>无法写入量产记录 %1：%2</source>
        <translation>Cannot write the production log %1: %2</translation>
    </message>
    <message>
        <source>文件不存在</source>
        <translation>the file does not exist</translation>
    </message>
    <message>
        <source>无法读取量产记录 %1：%2</source>
        <translation>Cannot read the production log %1: %2</translation>
    </message>
</context>
<context>
    <name>ProductionPage</name>
    <message>
        <source>量产测试</source>
        <translation>Production test</translation>
    </message>
    <message>
        <source>量产限值</source>
        <translation>Production limits</translation>
    </message>
    <message>
        <source>批次统计</source>
        <translation>Batch statistics</translation>
    </message>
    <message>
        <source>   量产 </source>
        <translation>   Production </translation>
    </message>
    <message>
        <source>量产测试与批次统计</source>
        <translation>Production test and batch statistics</translation>
    </message>
    <message>
        <source>导出批次报告</source>
        <translation>Export batch report</translation>
    </message>
    <message>
        <source>PDF(*.pdf)</source>
        <translation>PDF(*.pdf)</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>批次报告已导出：%1</source>
        <translation>Batch report exported: %1</translation>
    </message>
</context>
<context>
    <name>ProjectBatch</name>
    <message>
        <source>无法读取工程 %1：%2</source>
        <translation>Cannot read the project %1: %2</translation>
    </message>
    <message>
        <source>文件不存在</source>
        <translation>the file does not exist</translation>
    </message>
    <message>
        <source>工程中没有调试结果</source>
        <translation>the project has no tuning results</translation>
    </message>
</context>
<context>
    <name>ProjectEvidence</name>
    <message>
        <source>%1 滑动测试</source>
        <translation>%1 swipe test</translation>
    </message>
    <message>
        <source>录制文件评估</source>
        <translation>Evaluation of recordings</translation>
    </message>
    <message>
        <source>误触发测试</source>
        <translation>False-touch test</translation>
    </message>
</context>
<context>
    <name>ProjectKeeper</name>
    <message>
        <source>工程文件已存在，且不是本次打开的工程：原文件已另存为 %1</source>
        <translation>The project file exists and is not the project opened in this session: the old file was kept as %1</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>%1 的按键号不在 1～%2 之内，不作唤醒按键！</source>
        <translation>The key number of %1 is not within 1 to %2; it is not used as a wake key!</translation>
    </message>
    <message>
        <source>工程文件中以下滑条或滚轮的定义无效，已忽略：%1</source>
        <translation>The project file defines these sliders or wheels wrongly; they were left out: %1</translation>
    </message>
</context>
<context>
    <name>Question</name>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>ReadThread</name>
    <message>
        <source>握手失败！</source>
        <translation>Handshake failed!</translation>
    </message>
    <message>
        <source>接收返回超时！</source>
        <translation>No reply in time!</translation>
    </message>
</context>
<context>
    <name>RecentProjectsMenu</name>
    <message>
        <source>   最近 </source>
        <translation>   Recent </translation>
    </message>
    <message>
        <source>最近的工程</source>
        <translation>Recent projects</translation>
    </message>
    <message>
        <source>（无）</source>
        <translation>(none)</translation>
    </message>
</context>
<context>
    <name>RecordingEvaluation</name>
    <message>
        <source>未判定</source>
        <translation>not judged</translation>
    </message>
    <message>
        <source>触摸本键</source>
        <translation>key touched</translation>
    </message>
    <message>
        <source>不触摸</source>
        <translation>no touch</translation>
    </message>
    <message>
        <source>加水</source>
        <translation>water</translation>
    </message>
    <message>
        <source>验证（无人触摸）</source>
        <translation>verification (untouched)</translation>
    </message>
    <message>
        <source>触摸 TK%1 时</source>
        <translation>while TK%1 was touched</translation>
    </message>
</context>
<context>
    <name>RecordingEvaluationWindow</name>
    <message>
        <source>评估录制文件</source>
        <translation>Evaluate recordings</translation>
    </message>
    <message>
        <source>添加录制文件…</source>
        <translation>Add recordings…</translation>
    </message>
    <message>
        <source>移除</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>录制文件</source>
        <translation>Recording</translation>
    </message>
    <message>
        <source>记录</source>
        <translation>Records</translation>
    </message>
    <message>
        <source>时长（秒）</source>
        <translation>Length (s)</translation>
    </message>
    <message>
        <source>验证时无人触摸</source>
        <translation>Verification untouched</translation>
    </message>
    <message>
        <source>事件</source>
        <translation>Event</translation>
    </message>
    <message>
        <source>键名</source>
        <translation>Key</translation>
    </message>
    <message>
        <source>时间（秒）</source>
        <translation>Time (s)</translation>
    </message>
    <message>
        <source>情形</source>
        <translation>Situation</translation>
    </message>
    <message>
        <source>决策时间线：</source>
        <translation>Decision timeline:</translation>
    </message>
    <message>
        <source>滚轮缩放，拖动平移</source>
        <translation>Wheel zooms, drag moves</translation>
    </message>
    <message>
        <source>录制文件(*_rec.csv);;CSV(*.csv)</source>
        <translation>Recordings (*_rec.csv);;CSV (*.csv)</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>录制文件 %1 中没有记录</source>
        <translation>The recording %1 holds no records</translation>
    </message>
    <message>
        <source>%1 跳过 %2 行</source>
        <translation>%1: %2 lines skipped</translation>
    </message>
    <message>
        <source>（%1）</source>
        <translation> (%1)</translation>
    </message>
    <message>
        <source>，</source>
        <translation>, </translation>
    </message>
    <message>
        <source>添加录制文件后按当前按键设置评估</source>
        <translation>Add recordings to evaluate them under the keys&apos; current settings</translation>
    </message>
    <message>
        <source>%1 个录制文件，%2 条记录，%3 秒；误触发 %4 次</source>
        <translation>%1 recordings, %2 records, %3 s; %4 false presses</translation>
    </message>
    <message>
        <source>误触发</source>
        <translation>False press</translation>
    </message>
    <message>
        <source>漏触</source>
        <translation>Miss</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>无验证</source>
        <translation>no verification</translation>
    </message>
    <message>
        <source>    验证 %1：%2–%3 秒</source>
        <translation>    Verification %1: %2–%3 s</translation>
    </message>
    <message>
        <source>误触发测试的录制：无人触摸</source>
        <translation>Recorded by a false-touch test: untouched</translation>
    </message>
    <message>
        <source>；%1 个按键缺少不触摸、触摸或防水均值，未评估</source>
        <translation>; %1 keys lack a no-touch, touch or waterproof mean and are not evaluated</translation>
    </message>
</context>
<context>
    <name>RecordingFile</name>
    <message>
        <source>无法读取录制文件 %1：%2</source>
        <translation>Cannot read the recording %1: %2</translation>
    </message>
    <message>
        <source>录制文件 %1 过大（%2 MB），不是本工具的录制文件</source>
        <translation>The recording %1 is too large (%2 MB); it is not a recording of this tool</translation>
    </message>
</context>
<context>
    <name>RecordingPlayer</name>
    <message>
        <source>1×</source>
        <translation>1×</translation>
    </message>
    <message>
        <source>4×</source>
        <translation>4×</translation>
    </message>
    <message>
        <source>最快</source>
        <translation>Fastest</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>正在调试请勿点击！</source>
        <translation>Tuning in progress, do not click!</translation>
    </message>
    <message>
        <source>打开录制文件</source>
        <translation>Open recording</translation>
    </message>
    <message>
        <source>录制文件(*_rec.csv);;CSV(*.csv)</source>
        <translation>Recordings (*_rec.csv);;CSV (*.csv)</translation>
    </message>
    <message>
        <source>录制文件 %1：跳过 %2 行</source>
        <translation>Recording %1: %2 lines skipped</translation>
    </message>
    <message>
        <source>录制文件 %1 中没有记录</source>
        <translation>The recording %1 holds no records</translation>
    </message>
    <message>
        <source>开始回放：%1，%2 条记录</source>
        <translation>Replay started: %1, %2 records</translation>
    </message>
    <message>
        <source>回放结束</source>
        <translation>Replay ended</translation>
    </message>
    <message>
        <source>继续回放</source>
        <translation>Resume replay</translation>
    </message>
    <message>
        <source>暂停回放</source>
        <translation>Pause replay</translation>
    </message>
    <message>
        <source>%1 / %2 秒</source>
        <translation>%1 / %2 s</translation>
    </message>
    <message>
        <source>TK%1 的防水测试</source>
        <translation>The waterproof test of TK%1</translation>
    </message>
    <message>
        <source>TK%1 的触摸测试</source>
        <translation>The touch test of TK%1</translation>
    </message>
    <message>
        <source>%1已中止：%2</source>
        <translation>%1 was stopped: %2</translation>
    </message>
    <message>
        <source>停止测试</source>
        <translation>Stop test</translation>
    </message>
    <message>
        <source>录制时测试中断</source>
        <translation>the test broke off in the recording</translation>
    </message>
</context>
<context>
    <name>ReplayProject</name>
    <message>
        <source>回放到临时工程：回放的结果不保存，结束回放后恢复本工程的结果</source>
        <translation>Replaying into a scratch project: its results are not kept, and the project&apos;s results come back when the replay ends</translation>
    </message>
    <message>
        <source>调试结果已另存为 %1</source>
        <translation>Tuning results kept as %1</translation>
    </message>
    <message>
        <source>已恢复本工程的调试结果</source>
        <translation>The project&apos;s tuning results are back</translation>
    </message>
    <message>
        <source>结果表中已有 %1 个通道的调试结果。</source>
        <translation>The results table holds the tuning results of %1 channels.</translation>
    </message>
    <message>
        <source>本工程有未列入结果表的采样。</source>
        <translation>The project has samples that are not in the results table.</translation>
    </message>
    <message>
        <source>录制文件中的 %1 不是本工程使用的通道，回放会为它们新建结果行。</source>
        <translation>%1 in the recording are not channels this project uses; the replay makes new result rows for them.</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>回放到临时工程：回放的结果不保存，结束回放后恢复本工程的结果。</source>
        <translation>Replay into a scratch project: its results are not kept, and the project&apos;s results come back when the replay ends.</translation>
    </message>
    <message>
        <source>替换当前结果：当前结果先另存为带日期的工程文件，再由回放的结果替换。</source>
        <translation>Replace the results: the present results are first kept in a dated copy of the project, then replaced by the replay&apos;s.</translation>
    </message>
    <message>
        <source>回放到本工程：回放的结果写入本工程。</source>
        <translation>Replay into the project: the replay&apos;s results go into the project.</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>回放到临时工程</source>
        <translation>Into a scratch project</translation>
    </message>
    <message>
        <source>替换当前结果</source>
        <translation>Replace the results</translation>
    </message>
    <message>
        <source>回放到本工程</source>
        <translation>Into the project</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>ResultsTable</name>
    <message>
        <source>键名</source>
        <translation>Key</translation>
    </message>
    <message>
        <source>不触摸<byte value="xd"/>
(#)</source>
        <translation>No touch<byte value="xd"/>
(#)</translation>
    </message>
    <message>
        <source>触摸<byte value="xd"/>
(#)</source>
        <translation>Touch<byte value="xd"/>
(#)</translation>
    </message>
    <message>
        <source>防水<byte value="xd"/>
(#)</source>
        <translation>Water<byte value="xd"/>
(#)</translation>
    </message>
    <message>
        <source>TK<byte value="xd"/>
(#)</source>
        <translation>TK<byte value="xd"/>
(#)</translation>
    </message>
    <message>
        <source>KEY<byte value="xd"/>
(#)</source>
        <translation>KEY<byte value="xd"/>
(#)</translation>
    </message>
</context>
<context>
    <name>SamplesFile</name>
    <message>
        <source>无法写入采样文件 %1：%2</source>
        <translation>Cannot write the samples file %1: %2</translation>
    </message>
    <message>
        <source>无法读取采样文件 %1：%2</source>
        <translation>Cannot read the samples file %1: %2</translation>
    </message>
    <message>
        <source>采样文件 %1 大于 %2 MB，未读取</source>
        <translation>Samples file %1 is larger than %2 MB and was not read</translation>
    </message>
    <message>
        <source>无法保留采样文件 %1 为 %2</source>
        <translation>Could not keep the samples file %1 as %2</translation>
    </message>
</context>
<context>
    <name>SamplesPlot</name>
    <message>
        <source>不触摸</source>
        <translation>No touch</translation>
    </message>
    <message>
        <source>触摸</source>
        <translation>Touch</translation>
    </message>
    <message>
        <source>防水</source>
        <translation>Water</translation>
    </message>
    <message>
        <source>按下 %1</source>
        <translation>Press %1</translation>
    </message>
    <message>
        <source>释放 %1</source>
        <translation>Release %1</translation>
    </message>
    <message>
        <source>采样序号</source>
        <translation>Sample number</translation>
    </message>
</context>
<context>
    <name>SamplingStarter</name>
    <message>
        <source>调试器打开失败！</source>
        <translation>Opening the debugger failed!</translation>
    </message>
    <message>
        <source>发送数据超时，请检查是否连接调试板！</source>
        <translation>Sending timed out; check that the debugger board is connected!</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
</context>
<context>
    <name>SaveDownload</name>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>请稍等正在打开工程！</source>
        <translation>Please wait, the project is being opened!</translation>
    </message>
    <message>
        <source>正在调试请勿点击！</source>
        <translation>Tuning in progress, do not click!</translation>
    </message>
    <message>
        <source>请确认是否已经停止测试！</source>
        <translation>Make sure the test has been stopped!</translation>
    </message>
    <message>
        <source>写头文件失败！</source>
        <translation>Writing the header file failed!</translation>
    </message>
    <message>
        <source>请连接调试器！</source>
        <translation>Please connect the debugger!</translation>
    </message>
    <message>
        <source>保存下载失败！</source>
        <translation>Save and download failed!</translation>
    </message>
    <message>
        <source>保存并下载将清除当前 %1 个通道的调试结果，是否继续？</source>
        <translation>Save &amp; Download clears the tuning results of %1 channels. Go on?</translation>
    </message>
    <message>
        <source>继续</source>
        <translation>Go on</translation>
    </message>
    <message>
        <source>测试工程已改写，未编译和下载，调试结果保留：%1</source>
        <translation>Test project rewritten, not built or downloaded; the tuning results stay: %1</translation>
    </message>
    <message>
        <source>调试结果已另存为 %1</source>
        <translation>Tuning results kept as %1</translation>
    </message>
</context>
<context>
    <name>SimSliderPanel</name>
    <message>
        <source>滑条与滚轮</source>
        <translation>Sliders and wheels</translation>
    </message>
    <message>
        <source>滑条</source>
        <translation>slider</translation>
    </message>
    <message>
        <source>滚轮</source>
        <translation>wheel</translation>
    </message>
    <message>
        <source>该段只感受到手指的三分之一，用来试位置的归一化</source>
        <translation>This segment feels a third of a finger: tries the position&apos;s normalisation</translation>
    </message>
    <message>
        <source>首通道</source>
        <translation>First channel</translation>
    </message>
    <message>
        <source>段数</source>
        <translation>Segments</translation>
    </message>
    <message>
        <source>弱段</source>
        <translation>Weak segment</translation>
    </message>
    <message>
        <source>无</source>
        <translation>none</translation>
    </message>
    <message>
        <source>第 %1 段</source>
        <translation>segment %1</translation>
    </message>
</context>
<context>
    <name>SliderDefinition</name>
    <message>
        <source>滚轮</source>
        <translation>wheel</translation>
    </message>
    <message>
        <source>滑条</source>
        <translation>slider</translation>
    </message>
    <message>
        <source>%1 %2：%3</source>
        <translation>%1 %2: %3</translation>
    </message>
    <message>
        <source>（至少 %1 段）</source>
        <translation> (at least %1 segments)</translation>
    </message>
</context>
<context>
    <name>SliderPanel</name>
    <message>
        <source>滑条与滚轮</source>
        <translation>Sliders and wheels</translation>
    </message>
    <message>
        <source>新建滑条</source>
        <translation>New slider</translation>
    </message>
    <message>
        <source>新建滚轮</source>
        <translation>New wheel</translation>
    </message>
    <message>
        <source>完成</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>请按%1上的顺序依次点击 %2 的引脚（%3～%4 段），再点“完成”；再次点击一段可取消它。</source>
        <translation>Click the pins of %2 one after another in their order along the %1 (%3 to %4 segments), then &quot;Done&quot;; a second click on a segment takes it out.</translation>
    </message>
    <message>
        <source>滑条 2～8 段，滚轮 3～8 段，由不作按键的通道组成。</source>
        <translation>A slider has 2 to 8 segments, a wheel 3 to 8, made of channels that carry no key.</translation>
    </message>
    <message>
        <source>右键点击列表可反向或删除。</source>
        <translation>Right-click the list to reverse or remove one.</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>%1至少需要 %2 段，请继续点击它的引脚，或点“取消”。</source>
        <translation>%1 needs %2 segments at least: click more of its pins, or &quot;Cancel&quot;.</translation>
    </message>
    <message>
        <source>反向</source>
        <translation>Reverse</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Remove</translation>
    </message>
</context>
<context>
    <name>SliderReportPage</name>
    <message>
        <source>%1 %2：%3</source>
        <translation>%1 %2: %3</translation>
    </message>
    <message>
        <source>滚轮</source>
        <translation>wheel</translation>
    </message>
    <message>
        <source>滑条</source>
        <translation>slider</translation>
    </message>
    <message>
        <source>段</source>
        <translation>Segment</translation>
    </message>
    <message>
        <source>通道</source>
        <translation>Channel</translation>
    </message>
    <message>
        <source>不触摸
均值</source>
        <translation>No-touch
mean</translation>
    </message>
    <message>
        <source>触摸
均值</source>
        <translation>Touch
mean</translation>
    </message>
    <message>
        <source>防水
均值</source>
        <translation>Water
mean</translation>
    </message>
    <message>
        <source>噪声</source>
        <translation>Noise</translation>
    </message>
    <message>
        <source>信号</source>
        <translation>Signal</translation>
    </message>
    <message>
        <source>信噪比</source>
        <translation>SNR</translation>
    </message>
    <message>
        <source>结论</source>
        <translation>Verdict</translation>
    </message>
    <message>
        <source>原因</source>
        <translation>Reasons</translation>
    </message>
    <message>
        <source>数据不全</source>
        <translation>Incomplete</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>滑动测试：各次滑动的位置（点）与拟合直线（线），横轴为该次滑动的时间</source>
        <translation>Swipe test: the position of each stroke (dots) and its fitted line (line), across the stroke&apos;s time</translation>
    </message>
    <message>
        <source>未做滑动测试。</source>
        <translation>No swipe test yet.</translation>
    </message>
    <message>
        <source>线性度：%1（合格线 %2%，注意线 %3%）</source>
        <translation>Linearity: %1 (pass within %2%, caution within %3%)</translation>
    </message>
    <message>
        <source>抖动：%1（合格线 %2%，注意线 %3%）</source>
        <translation>Jitter: %1 (pass within %2%, caution within %3%)</translation>
    </message>
    <message>
        <source>死区：%1</source>
        <translation>Dead spots: %1</translation>
    </message>
    <message>
        <source>无</source>
        <translation>none</translation>
    </message>
    <message>
        <source>；</source>
        <translation>; </translation>
    </message>
    <message>
        <source>结论：%1</source>
        <translation>Verdict: %1</translation>
    </message>
    <message>
        <source>（%1）</source>
        <translation> (%1)</translation>
    </message>
    <message>
        <source>位置：固件的滑条位置（0～255，滑条从第一段中心到最后一段中心，滚轮绕一圈）。线性度：每次滑动的位置与按时间拟合的直线的最大偏差，占满量程的百分比（滑条两端各 8% 不计）。抖动：手指静放在中间段时位置的最大值减最小值（去掉前四分之一），占满量程的百分比。死区：滑动中连续无触摸，或直线移动满量程 8% 以上而位置不动的一段。</source>
        <translation>Position: the firmware&apos;s position (0-255, along a slider from its first segment&apos;s centre to its last one&apos;s, once round a wheel). Linearity: the largest deviation of a stroke&apos;s positions from the straight line fitted over its time, as a share of full scale (8% at either end of a slider not counted). Jitter: the largest minus the smallest position while the finger rests on the middle segment (without its first quarter), as a share of full scale. Dead spot: a stretch of a stroke without touch, or where the position stays put while the line moves 8% of full scale or more.</translation>
    </message>
</context>
<context>
    <name>SliderSession</name>
    <message>
        <source>滑条与滚轮</source>
        <translation>Sliders and wheels</translation>
    </message>
    <message>
        <source>滑动测试</source>
        <translation>Swipe test</translation>
    </message>
    <message>
        <source>开启验证效果后，跟随标记滑过所选滑条或滚轮，再静放在中间段，判定线性度、抖动和死区</source>
        <translation>With verification on, follow the marker along the chosen slider or wheel, then rest on the middle segment: judges linearity, jitter and dead spots</translation>
    </message>
    <message>
        <source>：</source>
        <translation>: </translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>请先开启验证效果，再做滑动测试！</source>
        <translation>Switch verification on before the swipe test!</translation>
    </message>
    <message>
        <source>%1 的各段还没有完整的不触摸、触摸和防水均值，请先做触摸测试和防水测试！</source>
        <translation>%1&apos;s segments do not have all their no-touch, touch and water means yet: run the touch test and the waterproof test first!</translation>
    </message>
    <message>
        <source>%1 滑动测试：%2，%3</source>
        <translation>%1 swipe test: %2, %3</translation>
    </message>
    <message>
        <source>（%1）</source>
        <translation> (%1)</translation>
    </message>
    <message>
        <source>；</source>
        <translation>; </translation>
    </message>
    <message>
        <source>验证效果没有在采集数据：请勾选 %1 各段的通道，再重新开启验证效果！</source>
        <translation>Verification is not streaming: tick the channels of %1&apos;s segments and switch verification on again!</translation>
    </message>
</context>
<context>
    <name>SliderView</name>
    <message>
        <source>未测</source>
        <translation>not measured</translation>
    </message>
    <message>
        <source>无触摸</source>
        <translation>no touch</translation>
    </message>
</context>
<context>
    <name>SourceGenerator</name>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>写头文件失败！</source>
        <translation>Writing the header file failed!</translation>
    </message>
    <message>
        <source>写按键设置表（TKKeyCfg）失败！</source>
        <translation>Failed to write the key settings table (TKKeyCfg)!</translation>
    </message>
    <message>
        <source>写.H文件失败！</source>
        <translation>Writing the .H file failed!</translation>
    </message>
    <message>
        <source>写滑条表（TKSliderCfg）失败！</source>
        <translation>Failed to write the slider table (TKSliderCfg)!</translation>
    </message>
</context>
<context>
    <name>StreamRecording</name>
    <message>
        <source>停止录制</source>
        <translation>Stop recording</translation>
    </message>
    <message>
        <source>开始录制：%1</source>
        <translation>Recording started: %1</translation>
    </message>
    <message>
        <source>录制</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>录制结束：%1，%2 条记录</source>
        <translation>Recording ended: %1, %2 records</translation>
    </message>
</context>
<context>
    <name>SwipeJudgement</name>
    <message>
        <source>位置 %1 无触摸 %2 ms</source>
        <translation>no touch at position %1 for %2 ms</translation>
    </message>
    <message>
        <source>位置 %1 不动 %2 ms</source>
        <translation>position stuck at %1 for %2 ms</translation>
    </message>
    <message>
        <source>没有从一端到另一端的完整滑动</source>
        <translation>no whole swipe from one end to the other</translation>
    </message>
    <message>
        <source>线性度 %1 超过 %2%</source>
        <translation>linearity %1 beyond %2%</translation>
    </message>
    <message>
        <source>静止时未检测到触摸</source>
        <translation>no touch seen while the finger rested</translation>
    </message>
    <message>
        <source>抖动 %1 超过 %2%</source>
        <translation>jitter %1 beyond %2%</translation>
    </message>
    <message>
        <source>死区：%1</source>
        <translation>dead spot: %1</translation>
    </message>
    <message>
        <source>无</source>
        <translation>none</translation>
    </message>
    <message>
        <source>%1 处</source>
        <translation>%1</translation>
    </message>
    <message>
        <source>线性度 %1，抖动 %2，死区 %3</source>
        <translation>linearity %1, jitter %2, dead spots %3</translation>
    </message>
</context>
<context>
    <name>SwipeTest</name>
    <message>
        <source>滑动测试 %1：请把手指放在起点（标记处），标记开始移动后跟随它匀速滑动。</source>
        <translation>Swipe test %1: put your finger on the start (at the marker); once the marker moves, follow it at a steady pace.</translation>
    </message>
    <message>
        <source>滑动测试 %1 已中止。</source>
        <translation>Swipe test %1 stopped.</translation>
    </message>
    <message>
        <source>请跟随标记沿 %1 匀速转 %2 圈。</source>
        <translation>Follow the marker round %1 at a steady pace, %2 turns.</translation>
    </message>
    <message>
        <source>请跟随标记沿 %1 从一端匀速滑到另一端，来回共 %2 次。</source>
        <translation>Follow the marker along %1 from one end to the other at a steady pace, %2 strokes back and forth.</translation>
    </message>
    <message>
        <source>请把手指静放在 %1 的中间段上，不要移动。</source>
        <translation>Rest your finger on the middle segment of %1 without moving it.</translation>
    </message>
</context>
<context>
    <name>TuningReport</name>
    <message>
        <source>无法写入调试报告 %1：%2</source>
        <translation>Cannot write the tuning report %1: %2</translation>
    </message>
    <message>
        <source>无法生成 PDF</source>
        <translation>Cannot create the PDF</translation>
    </message>
    <message>
        <source>%1 — 第 %2 页</source>
        <translation>%1 — page %2</translation>
    </message>
    <message>
        <source>数据不全</source>
        <translation>incomplete data</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>%1_调试报告.pdf</source>
        <translation>%1_tuning_report.pdf</translation>
    </message>
    <message>
        <source>触摸按键调试报告</source>
        <translation>Touch key tuning report</translation>
    </message>
    <message>
        <source>键名</source>
        <translation>Key</translation>
    </message>
    <message>
        <source>按键</source>
        <translation>Key no.</translation>
    </message>
    <message>
        <source>不触摸
均值</source>
        <translation>No touch
mean</translation>
    </message>
    <message>
        <source>触摸
均值</source>
        <translation>Touch
mean</translation>
    </message>
    <message>
        <source>防水
均值</source>
        <translation>Water
mean</translation>
    </message>
    <message>
        <source>噪声</source>
        <translation>Noise</translation>
    </message>
    <message>
        <source>信号</source>
        <translation>Signal</translation>
    </message>
    <message>
        <source>信噪比</source>
        <translation>SNR</translation>
    </message>
    <message>
        <source>防水偏移
(占信号)</source>
        <translation>Water shift
(of signal)</translation>
    </message>
    <message>
        <source>结论</source>
        <translation>Verdict</translation>
    </message>
    <message>
        <source>原因</source>
        <translation>Reasons</translation>
    </message>
    <message>
        <source>按下位置</source>
        <translation>Press at</translation>
    </message>
    <message>
        <source>迟滞</source>
        <translation>Hysteresis</translation>
    </message>
    <message>
        <source>最长按下</source>
        <translation>Longest press</translation>
    </message>
    <message>
        <source>防水下限</source>
        <translation>Water floor</translation>
    </message>
    <message>
        <source>按下
阈值</source>
        <translation>Press
threshold</translation>
    </message>
    <message>
        <source>释放
阈值</source>
        <translation>Release
threshold</translation>
    </message>
    <message>
        <source>触摸余量
(占摆幅)</source>
        <translation>Touch margin
(of swing)</translation>
    </message>
    <message>
        <source>不触摸余量
(占摆幅)</source>
        <translation>No-touch margin
(of swing)</translation>
    </message>
    <message>
        <source>防水余量
(占摆幅)</source>
        <translation>Water margin
(of swing)</translation>
    </message>
    <message>
        <source>按键设置与余量</source>
        <translation>Key settings and margins</translation>
    </message>
    <message>
        <source>各通道采样曲线</source>
        <translation>Sample curves of each channel</translation>
    </message>
    <message>
        <source>TK%1（按键 %2）：%3</source>
        <translation>TK%1 (key %2): %3</translation>
    </message>
    <message>
        <source>按键耦合：触摸行按键时列按键均值的偏移</source>
        <translation>Key coupling: how far touching the row&apos;s key shifts the mean of the column&apos;s key</translation>
    </message>
    <message>
        <source>触摸＼受影响</source>
        <translation>Touched \ affected</translation>
    </message>
    <message>
        <source>每格上为偏移（触摸均值减不触摸均值，计数），下为其占受影响按键阈值余量（按下阈值减不触摸均值）的百分比；超过 50% 为警告，达到 100% 时触摸行按键会使列按键被按下，该按键判为不合格。未测防水的按键按防水不偏移时固件的按下阈值计算。</source>
        <translation>Each cell: above, the shift (touch mean minus no-touch mean, in counts); below, its share of the affected key&apos;s threshold margin (press threshold minus no-touch mean). Above 50% is warned of; at 100% touching the row&apos;s key presses the column&apos;s key, and that key fails. A key without its waterproof test is taken with the press threshold the firmware computes when water does not shift it.</translation>
    </message>
    <message>
        <source>%1 触摸按键调试报告</source>
        <translation>%1 touch key tuning report</translation>
    </message>
    <message>
        <source>工程：%1&#x3000;&#x3000;芯片：RM3KV5172&#x3000;&#x3000;封装：%2&#x3000;&#x3000;日期：%3</source>
        <translation>Project: %1    Chip: RM3KV5172    Package: %2    Date: %3</translation>
    </message>
    <message>
        <source>已测通道 %1 个：合格 %2，注意 %3，不合格 %4，数据不全 %5</source>
        <translation>%1 channels tested: %2 pass, %3 caution, %4 fail, %5 incomplete data</translation>
    </message>
    <message>
        <source>未通过或需注意：无</source>
        <translation>Failed or needing attention: none</translation>
    </message>
    <message>
        <source>未通过或需注意：%1</source>
        <translation>Failed or needing attention: %1</translation>
    </message>
    <message>
        <source>%1 次</source>
        <translation>%1 scans</translation>
    </message>
    <message>
        <source>消抖
(次后按下)</source>
        <translation>Debounce
(scans, then press)</translation>
    </message>
    <message>
        <source>均值：结果表中的均值，即写入应用固件的值。噪声：不触摸采样的最大值减最小值（0 记为 1）。信号：触摸均值减不触摸均值，按采样的精确均值（无采样时按表中均值）。信噪比：信号除以噪声。防水偏移：防水均值减不触摸均值。摆幅：表中触摸均值减不触摸均值。按下阈值：不触摸均值加摆幅的按下位置；防水偏移超过摆幅一半时，防水下限开则不低于摆幅的四分之三。释放阈值：按下阈值减摆幅的迟滞，但不低于不触摸均值加摆幅的百分之一（至少加 1），也不高于按下阈值。两者在固件中随基线移动（16 位无符号运算，不超过 65535）。消抖：连续超过按下阈值的扫描次数，其后的下一次扫描按下（消抖 3 次即第 4 次扫描按下）。按下持续超过最长按下时间时固件释放按键并以当前值为基线。余量：触摸最小值减按下阈值，释放阈值减不触摸最大值，释放阈值减防水最大值，括号内为占摆幅的百分比。
不合格：信号不为正，信噪比低于 5:1，触摸最小值未超过按下阈值，不触摸最大值或防水最大值达到释放阈值。注意：信噪比低于 10:1，防水偏移达到信号的一半，防水下限已关闭，或表中均值与采样不符。其余为合格。</source>
        <translation>Means: the means of the results table, which the application firmware gets. Noise: the no-touch samples&apos; maximum minus their minimum (0 counts as 1). Signal: touch mean minus no-touch mean, from the samples&apos; exact means (the table&apos;s means where there are no samples). SNR: signal divided by noise. Water shift: water mean minus no-touch mean. Swing: the table&apos;s touch mean minus its no-touch mean. Press threshold: the no-touch mean plus the press position&apos;s share of the swing; when the water shift exceeds half the swing and the water floor is on, at least three quarters of the swing. Release threshold: the press threshold minus the hysteresis&apos; share of the swing, but not below the no-touch mean plus a hundredth of the swing (plus 1 at least), nor above the press threshold. Both move with the base in the firmware (16-bit unsigned arithmetic, at most 65535). Debounce: the scans in a row above the press threshold, after which the next scan presses (debounce 3: pressed on the 4th scan). A key pressed longer than its longest press is released by the firmware, which takes the current count as its base. Margins: touch minimum minus press threshold, release threshold minus no-touch maximum, release threshold minus water maximum; in brackets, as a share of the swing.
Fail: no positive signal, SNR below 5:1, touch minimum not above the press threshold, or no-touch or water maximum reaching the release threshold. Caution: SNR below 10:1, water shift at half the signal or more, water floor switched off, or table means that do not match the samples. Everything else passes.</translation>
    </message>
    <message>
        <source>；</source>
        <translation>; </translation>
    </message>
</context>
<context>
    <name>TuningSession</name>
    <message>
        <source>导出调试报告…</source>
        <translation>Export tuning report…</translation>
    </message>
    <message>
        <source>导出调试报告</source>
        <translation>Export tuning report</translation>
    </message>
    <message>
        <source>PDF(*.pdf)</source>
        <translation>PDF(*.pdf)</translation>
    </message>
    <message>
        <source>调试报告已导出：%1</source>
        <translation>Tuning report exported: %1</translation>
    </message>
    <message>
        <source>验证效果已中止：%1</source>
        <translation>Verification stopped: %1</translation>
    </message>
    <message>
        <source>调试器已断开</source>
        <translation>Debugger unplugged</translation>
    </message>
    <message>
        <source>样本文件 %1：跳过 %2 行</source>
        <translation>Samples file %1: %2 lines skipped</translation>
    </message>
    <message>
        <source>：</source>
        <translation>: </translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>继续画面</source>
        <translation>Resume picture</translation>
    </message>
    <message>
        <source>暂停画面</source>
        <translation>Pause picture</translation>
    </message>
    <message>
        <source>样本文件 %1 没有邻键影响的数据：触摸 %2 时的邻键影响未测</source>
        <translation>Samples file %1 holds no key-to-key coupling: what a touch on %2 does to the other keys is not measured</translation>
    </message>
    <message>
        <source>工程文件中的按键设置无效，已用默认值：%1</source>
        <translation>Key settings in the project file are not valid, the defaults are used: %1</translation>
    </message>
    <message>
        <source>%1：三个均值测完后才有阈值</source>
        <translation>%1: the thresholds follow once all three means are measured</translation>
    </message>
    <message>
        <source>%1：%2；按下阈值 %3，释放阈值 %4；余量：触摸 %5，不触摸 %6，防水 %7</source>
        <translation>%1: %2; press threshold %3, release threshold %4; margins: touch %5, no touch %6, water %7</translation>
    </message>
    <message>
        <source>数据不全</source>
        <translation>incomplete data</translation>
    </message>
    <message>
        <source>保存日志…</source>
        <translation>Save log…</translation>
    </message>
    <message>
        <source>%1（%2）</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>测试结论文件 %1：%2 无法读取，已略去</source>
        <translation>Evidence file %1: %2 could not be read and was left out</translation>
    </message>
    <message>
        <source>测试结论文件 %1：%2 所依据的均值与结果表不同，未恢复</source>
        <translation>Evidence file %1: %2 was measured on other means than the results table&apos;s and was not restored</translation>
    </message>
    <message>
        <source>%1：滑动测试%2：%3</source>
        <translation>%1: swipe test %2: %3</translation>
    </message>
    <message>
        <source>误触发测试：</source>
        <translation>False-touch test: </translation>
    </message>
</context>
<context>
    <name>VerificationMode</name>
    <message>
        <source>调试器打开失败！</source>
        <translation>Opening the debugger failed!</translation>
    </message>
    <message>
        <source>验证效果按钮提示</source>
        <translation>Verification</translation>
    </message>
    <message>
        <source>请确认没有其他操作！</source>
        <translation>Make sure nothing else is running!</translation>
    </message>
    <message>
        <source>停止验证效果</source>
        <translation>Stop verification</translation>
    </message>
    <message>
        <source>请连接调试器！</source>
        <translation>Please connect the debugger!</translation>
    </message>
    <message>
        <source>停止验证效果失败！</source>
        <translation>Stopping verification failed!</translation>
    </message>
    <message>
        <source>开启验证效果</source>
        <translation>Start verification</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
</context>
<context>
    <name>WaterproofTest</name>
    <message>
        <source>请确认调试器是否连接！</source>
        <translation>Check that the debugger is connected!</translation>
    </message>
    <message>
        <source>正在调试请勿点击！</source>
        <translation>Tuning in progress, do not click!</translation>
    </message>
    <message>
        <source>请选择需要调试的通道！</source>
        <translation>Choose the channels to tune!</translation>
    </message>
    <message>
        <source>开始TK%1防水测试 ...</source>
        <translation>Water test of TK%1 ...</translation>
    </message>
    <message>
        <source>请给触摸板加水！</source>
        <translation>Put water on the touch pad!</translation>
    </message>
    <message>
        <source>所选通道防水测试完成！</source>
        <translation>Water test of the chosen channels finished!</translation>
    </message>
    <message>
        <source>防水测试数据已导出：%1</source>
        <translation>Water test samples exported: %1</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>TK%1 的防水测量可疑（%2）。</source>
        <translation>The waterproof measurement of TK%1 is doubtful (%2).</translation>
    </message>
</context>
<context>
    <name>Wd5p31948Sop16</name>
    <message>
        <source>SOP16</source>
        <translation>SOP16</translation>
    </message>
    <message>
        <source>font: 10pt &quot;ADMUI3Lg&quot;;</source>
        <translation>font: 10pt &quot;ADMUI3Lg&quot;;</translation>
    </message>
    <message>
        <source>TK22</source>
        <translation>TK22</translation>
    </message>
    <message>
        <source>TK21</source>
        <translation>TK21</translation>
    </message>
    <message>
        <source>TK20</source>
        <translation>TK20</translation>
    </message>
    <message>
        <source>TK19</source>
        <translation>TK19</translation>
    </message>
    <message>
        <source>TK18</source>
        <translation>TK18</translation>
    </message>
    <message>
        <source>TK14</source>
        <translation>TK14</translation>
    </message>
    <message>
        <source>TK13</source>
        <translation>TK13</translation>
    </message>
    <message>
        <source>TK12</source>
        <translation>TK12</translation>
    </message>
    <message>
        <source>Tk9</source>
        <translation>Tk9</translation>
    </message>
    <message>
        <source>TK8</source>
        <translation>TK8</translation>
    </message>
    <message>
        <source>TK5</source>
        <translation>TK5</translation>
    </message>
    <message>
        <source>TK1</source>
        <translation>TK1</translation>
    </message>
    <message>
        <source>TK0</source>
        <translation>TK0</translation>
    </message>
</context>
</TS>
