<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
    <context>
        <name>AdvancedSetting</name>
        <message>
            <source>Back</source>
            <translation>返回</translation>
        </message>
        <message>
            <source>Poll Setting</source>
            <translation>轮询设置</translation>
        </message>
        <message>
            <source>Input Begin</source>
            <translation>起始输入</translation>
        </message>
        <message>
            <source>Input End</source>
            <translation>结束输入</translation>
        </message>
        <message>
            <source>Output Begin</source>
            <translation>起始输出</translation>
        </message>
        <message>
            <source>Output End</source>
            <translation>结束输出</translation>
        </message>
        <message>
            <source>Sleep</source>
            <translation>间隔(毫秒)</translation>
        </message>
        <message>
            <source>Start Poll</source>
            <translation>开始轮询</translation>
        </message>
        <message>
            <source>Poll Info</source>
            <translation>轮询信息</translation>
        </message>
        <message>
            <source>Timing Switch</source>
            <translation>定时切换</translation>
        </message>
        <message>
            <source>Output</source>
            <translation>输出</translation>
        </message>
        <message>
            <source>Start Timing</source>
            <translation>开始定时</translation>
        </message>
        <message>
            <source>Switch Info</source>
            <translation>切换信息</translation>
        </message>
        <message>
            <source>Stop Poll</source>
            <translation>停止轮询</translation>
        </message>
        <message>
            <source>Stop Timing</source>
            <translation>停止定时</translation>
        </message>
        <message>
            <source>Poll not started: no link is open</source>
            <translation>轮询未开始：没有打开的连接</translation>
        </message>
        <message>
            <source>Timing not started: no link is open</source>
            <translation>定时切换未开始：没有打开的连接</translation>
        </message>
        <message>
            <source>Poll stopped: no link is left</source>
            <translation>轮询已停止：已没有可用的连接</translation>
        </message>
        <message>
            <source>Timing stopped: no link is left</source>
            <translation>定时切换已停止：已没有可用的连接</translation>
        </message>
    </context>
    <context>
        <name>CAboutversion</name>
        <message>
            <source>Access word</source>
            <translation>访问口令</translation>
        </message>
    </context>
    <context>
        <name>CAliasSetting</name>
        <message>
            <source>Scene Alias</source>
            <translation>场景别名</translation>
        </message>
        <message>
            <source>Scene</source>
            <translation>场景</translation>
        </message>
        <message>
            <source>Matrix In Alias</source>
            <translation>矩阵输入别名</translation>
        </message>
        <message>
            <source>Matrix In</source>
            <translation>矩阵输入</translation>
        </message>
        <message>
            <source>Matrix Out Alias</source>
            <translation>矩阵输出别名</translation>
        </message>
        <message>
            <source>Matrix Out</source>
            <translation>矩阵输出</translation>
        </message>
        <message>
            <source>Matrix ID Setting</source>
            <translation>矩阵编号设置</translation>
        </message>
        <message>
            <source>Matrix ID</source>
            <translation>矩阵编号</translation>
        </message>
        <message>
            <source>IP Card Alias</source>
            <translation>网卡别名</translation>
        </message>
        <message>
            <source>IP</source>
            <translation>IP</translation>
        </message>
        <message>
            <source>Defualt</source>
            <translation>默认</translation>
        </message>
        <message>
            <source>New</source>
            <translation>新名称</translation>
        </message>
        <message>
            <source>Ok</source>
            <translation>确定</translation>
        </message>
        <message>
            <source>Cancel</source>
            <translation>取消</translation>
        </message>
        <message>
            <source>Default</source>
            <translation>默认</translation>
        </message>
        <message>
            <source>A matrix ID is a whole number from 0 to %1.</source>
            <translation>矩阵编号须为 0 到 %1 的整数。</translation>
        </message>
    </context>
    <context>
        <name>CConfigIPDlg</name>
        <message>
            <source>Net Setting</source>
            <translation>网络设置</translation>
        </message>
        <message>
            <source>ip</source>
            <translation>IP地址</translation>
        </message>
        <message>
            <source>port</source>
            <translation>端口</translation>
        </message>
        <message>
            <source>subnet</source>
            <translation>子网掩码</translation>
        </message>
        <message>
            <source>gateway</source>
            <translation>网关</translation>
        </message>
        <message>
            <source>mac</source>
            <translation>MAC地址</translation>
        </message>
        <message>
            <source>OK</source>
            <translation>确定</translation>
        </message>
        <message>
            <source>Cancel</source>
            <translation>取消</translation>
        </message>
    </context>
    <context>
        <name>CConnectFrame</name>
        <message>
            <source>connect</source>
            <translation>连接</translation>
        </message>
        <message>
            <source>disconnect</source>
            <translation>断开</translation>
        </message>
        <message>
            <source>Net Setting</source>
            <translation>网络设置</translation>
        </message>
        <message>
            <source>IP</source>
            <translation>IP</translation>
        </message>
        <message>
            <source>Port</source>
            <translation>端口</translation>
        </message>
        <message>
            <source>Connect</source>
            <translation>连接</translation>
        </message>
        <message>
            <source>Get</source>
            <translation>读取</translation>
        </message>
        <message>
            <source>Add</source>
            <translation>添加</translation>
        </message>
        <message>
            <source>All</source>
            <translation>全选</translation>
        </message>
        <message>
            <source>Clear</source>
            <translation>清空</translation>
        </message>
        <message>
            <source>Devices</source>
            <translation>设备列表</translation>
        </message>
        <message>
            <source>the answer to Get holds no network settings; nothing changed</source>
            <translation>读取的应答中没有网络设置，未作更改</translation>
        </message>
        <message>
            <source>the answer to Get has %1 of %2 fields; nothing changed</source>
            <translation>读取的应答只有 %1 项（应为 %2 项），未作更改</translation>
        </message>
        <message>
            <source>%1 not sent: no link is open</source>
            <translation>%1 未发送：没有打开的连接</translation>
        </message>
        <message>
            <source>%1 not sent: the TCP link is not to %2</source>
            <translation>%1 未发送：TCP 连接的不是 %2</translation>
        </message>
        <message>
            <source>retrying</source>
            <translation>正在重试</translation>
        </message>
        <message>
            <source>The link dropped and is being tried again; click to stop</source>
            <translation>连接已断开，正在重新连接；点击停止</translation>
        </message>
        <message>
            <source>Connect: no row is ticked</source>
            <translation>连接：没有勾选任何一行</translation>
        </message>
        <message>
            <source>%1 rows are ticked: connecting to the topmost, %2:%3</source>
            <translation>勾选了 %1 行：连接最上面的一行，%2:%3</translation>
        </message>
    </context>
    <context>
        <name>CDebugerFrame</name>
        <message>
            <source>Tset code</source>
            <translation>测试指令</translation>
        </message>
        <message>
            <source>Hex</source>
            <translation>十六进制</translation>
        </message>
        <message>
            <source>send</source>
            <translation>发送</translation>
        </message>
        <message>
            <source>Command log</source>
            <translation>指令记录</translation>
        </message>
        <message>
            <source>Command log in hex</source>
            <translation>指令记录（十六进制）</translation>
        </message>
        <message>
            <source>Command to send</source>
            <translation>待发送指令</translation>
        </message>
        <message>
            <source>"%1" is no hex byte (00 to FF): nothing sent</source>
            <translation>“%1”不是十六进制字节（00 到 FF）：未发送</translation>
        </message>
        <message>
            <source>"%1" is no hex byte (00 to FF)</source>
            <translation>“%1”不是十六进制字节（00 到 FF）</translation>
        </message>
    </context>
    <context>
        <name>CIPEdit</name>
        <message>
            <source>IP address</source>
            <translation>IP地址</translation>
        </message>
        <message>
            <source>%1, part %2 of %3</source>
            <translation>%1，第%2段，共%3段</translation>
        </message>
    </context>
    <context>
        <name>CRoutingDialog</name>
        <message>
            <source>%1 to %2 not sent: no link is open</source>
            <translation>%1 到 %2 未发送：没有打开的连接</translation>
        </message>
        <message>
            <source>Routing</source>
            <translation>路由</translation>
        </message>
        <message>
            <source>The routes sent from this program: the matrix cannot be asked what it carries. Rows are outputs, columns inputs; "?" marks an output never routed from here. Click a cell or press Space to route that input to that output.</source>
            <translation>这里显示本程序发送过的切换：矩阵无法查询当前状态。行为输出，列为输入；“?”表示从未由本程序切换过的输出。点击单元格或按空格键，即把该输入切换到该输出。</translation>
        </message>
        <message>
            <source>Routing: outputs by inputs</source>
            <translation>路由：输出 × 输入</translation>
        </message>
    </context>
    <context>
        <name>CSceneFrame</name>
        <message>
            <source>Buzz On</source>
            <translation>蜂鸣器开</translation>
        </message>
        <message>
            <source>Buzz OFF</source>
            <translation>蜂鸣器关</translation>
        </message>
        <message>
            <source>VGA Auto</source>
            <translation>VGA自动</translation>
        </message>
        <message>
            <source>Scene Save</source>
            <translation>场景保存</translation>
        </message>
        <message>
            <source>Scene Load</source>
            <translation>场景调用</translation>
        </message>
        <message>
            <source>Rename</source>
            <translation>重命名</translation>
        </message>
    </context>
    <context>
        <name>CSwitcherFrame</name>
        <message>
            <source>All</source>
            <translation>全部</translation>
        </message>
        <message>
            <source>Video</source>
            <translation>视频</translation>
        </message>
        <message>
            <source>Audio</source>
            <translation>音频</translation>
        </message>
        <message>
            <source>Switch</source>
            <translation>切换</translation>
        </message>
        <message>
            <source>Switch All</source>
            <translation>全部切换</translation>
        </message>
        <message>
            <source>One By One</source>
            <translation>一一对应</translation>
        </message>
        <message>
            <source>Write</source>
            <translation>写入</translation>
        </message>
        <message>
            <source>Setting</source>
            <translation>设置</translation>
        </message>
        <message>
            <source>%1 not sent: no input is ticked</source>
            <translation>%1 未发送：没有勾选输入</translation>
        </message>
        <message>
            <source>%1 not sent: no output is ticked</source>
            <translation>%1 未发送：没有勾选输出</translation>
        </message>
        <message>
            <source>%1 not sent: %2 inputs are ticked, one is wanted</source>
            <translation>%1 未发送：勾选了 %2 个输入，只能勾选一个</translation>
        </message>
        <message>
            <source>%1 not sent: %2 outputs are ticked, one is wanted</source>
            <translation>%1 未发送：勾选了 %2 个输出，只能勾选一个</translation>
        </message>
    </context>
    <context>
        <name>CTitleFrame</name>
        <message>
            <source>Language</source>
            <translation>语言</translation>
        </message>
        <message>
            <source>Copyright</source>
            <translation>版权信息</translation>
        </message>
        <message>
            <source>Menu</source>
            <translation>菜单</translation>
        </message>
        <message>
            <source>Minimize</source>
            <translation>最小化</translation>
        </message>
        <message>
            <source>Close</source>
            <translation>关闭</translation>
        </message>
        <message>
            <source>Matrix ID: %1</source>
            <translation>矩阵编号：%1</translation>
        </message>
        <message>
            <source>Routing</source>
            <translation>路由</translation>
        </message>
    </context>
    <context>
        <name>ChannelGrid</name>
        <message>
            <source>Matrix In</source>
            <translation>矩阵输入</translation>
        </message>
        <message>
            <source>Matrix Out</source>
            <translation>矩阵输出</translation>
        </message>
        <message>
            <source>Rename</source>
            <translation>重命名</translation>
        </message>
    </context>
    <context>
        <name>DeviceListMenu</name>
        <message>
            <source>Setting</source>
            <translation>设置</translation>
        </message>
        <message>
            <source>Reset</source>
            <translation>重置</translation>
        </message>
        <message>
            <source>Delete</source>
            <translation>删除</translation>
        </message>
        <message>
            <source>Set Alias</source>
            <translation>设置别名</translation>
        </message>
        <message>
            <source>Up</source>
            <translation>上移</translation>
        </message>
        <message>
            <source>Down</source>
            <translation>下移</translation>
        </message>
    </context>
    <context>
        <name>DeviceListModel</name>
        <message>
            <source>Ticked</source>
            <translation>已勾选</translation>
        </message>
        <message>
            <source>Not ticked</source>
            <translation>未勾选</translation>
        </message>
        <message>
            <source>Tick</source>
            <translation>勾选</translation>
        </message>
    </context>
    <context>
        <name>FileNotices</name>
        <message>
            <source>%1 could not be written; the channel names of this run are lost</source>
            <translation>%1 无法写入，本次运行的通道名称已丢失</translation>
        </message>
        <message>
            <source>%1 could not be read; the channels show their default names</source>
            <translation>%1 无法读取，通道显示默认名称</translation>
        </message>
        <message>
            <source>%1 is damaged; names it lost take their defaults; the file is kept as %2</source>
            <translation>%1 已损坏，丢失的名称使用默认值；原文件已另存为 %2</translation>
        </message>
        <message>
            <source>%1 is damaged; names it lost take their defaults; the file could not be kept as %2</source>
            <translation>%1 已损坏，丢失的名称使用默认值；原文件无法另存为 %2</translation>
        </message>
        <message>
            <source>%1 could not be read (%2); the device list starts empty and the file is not written over</source>
            <translation>%1 无法读取（%2），设备列表为空，该文件不会被覆盖</translation>
        </message>
        <message>
            <source>%1 is not a valid JSON address book; the device list starts empty and the file stays as it is until the list changes; a copy is kept as %2</source>
            <translation>%1 不是有效的 JSON 地址簿，设备列表为空；列表改动之前该文件保持原样；副本已另存为 %2</translation>
        </message>
        <message>
            <source>%1 is not a valid JSON address book; the device list starts empty and the file stays as it is until the list changes; no copy could be kept as %2</source>
            <translation>%1 不是有效的 JSON 地址簿，设备列表为空；列表改动之前该文件保持原样；无法另存副本为 %2</translation>
        </message>
        <message>
            <source>%1 holds values that are not device texts; they read as empty; a copy is kept as %2</source>
            <translation>%1 含有不是设备文字的值，按空白读取；副本已另存为 %2</translation>
        </message>
        <message>
            <source>%1 holds values that are not device texts; they read as empty; no copy could be kept as %2</source>
            <translation>%1 含有不是设备文字的值，按空白读取；无法另存副本为 %2</translation>
        </message>
        <message>
            <source>%1 could not be written (%2); the device list of this run is lost</source>
            <translation>%1 无法写入（%2），本次运行的设备列表已丢失</translation>
        </message>
        <message>
            <source>%1 could not be written; the scene names of this run are lost</source>
            <translation>%1 无法写入，本次运行的场景名称已丢失</translation>
        </message>
        <message>
            <source>%1 could not be written; the new name of scene %2 is kept in memory</source>
            <translation>%1 无法写入，场景 %2 的新名称仅保存在内存中</translation>
        </message>
        <message>
            <source>%1 could not be read; the scenes show their default names</source>
            <translation>%1 无法读取，场景显示默认名称</translation>
        </message>
        <message>
            <source>%1 is damaged; keys it lost read as absent</source>
            <translation>%1 已损坏，丢失的设置项按未设置处理</translation>
        </message>
        <message>
            <source>%1 could not be read; its keys read as absent</source>
            <translation>%1 无法读取，其设置项按未设置处理</translation>
        </message>
        <message>
            <source>%1 is damaged and is written anew; the old file is kept as %2</source>
            <translation>%1 已损坏，将重新写入；原文件已另存为 %2</translation>
        </message>
        <message>
            <source>%1 is damaged and is written anew; the old file could not be kept as %2</source>
            <translation>%1 已损坏，将重新写入；原文件无法另存为 %2</translation>
        </message>
        <message>
            <source>%1 could not be written; settings stored in this run are lost</source>
            <translation>%1 无法写入，本次运行保存的设置已丢失</translation>
        </message>
        <message>
            <source>%1 holds %2=%3, which is no whole number: it reads as absent</source>
            <translation>%1 中的 %2=%3 不是整数，按未设置处理</translation>
        </message>
        <message>
            <source>%1 holds %2=%3, which is no whole number from %4 to %5: %6 is used</source>
            <translation>%1 中的 %2=%3 不是 %4 到 %5 之间的整数，改用 %6</translation>
        </message>
        <message>
            <source>%1 holds %2=%3, which is not among its choices: %4 is used</source>
            <translation>%1 中的 %2=%3 不在可选范围内，改用 %4</translation>
        </message>
    </context>
    <context>
        <name>LinkKeeper</name>
        <message>
            <source>%1: stopped trying the link again</source>
            <translation>%1：已停止重新连接</translation>
        </message>
        <message>
            <source>%1: trying the link again in the background</source>
            <translation>%1：正在后台重新连接</translation>
        </message>
        <message>
            <source>%1: the link is back</source>
            <translation>%1：连接已恢复</translation>
        </message>
        <message>
            <source>TCP link to %1</source>
            <translation>到 %1 的 TCP 连接</translation>
        </message>
        <message>
            <source>serial link %1</source>
            <translation>串口连接 %1</translation>
        </message>
    </context>
    <context>
        <name>RouteModel</name>
        <message>
            <source>Input %1</source>
            <translation>输入 %1</translation>
        </message>
        <message>
            <source>Output %1</source>
            <translation>输出 %1</translation>
        </message>
        <message>
            <source>not known</source>
            <translation>未知</translation>
        </message>
        <message>
            <source>routed</source>
            <translation>已切换</translation>
        </message>
        <message>
            <source>not routed</source>
            <translation>未切换</translation>
        </message>
        <message>
            <source>%1 from %2: %3</source>
            <translation>%1 接 %2：%3</translation>
        </message>
        <message>
            <source>%1 (%2): not routed from here, not known</source>
            <translation>%1（%2）：未从本程序切换过，状态未知</translation>
        </message>
    </context>
    <context>
        <name>RouteTracker</name>
        <message>
            <source>%1 was not read: %2</source>
            <translation>未能读取 %1：%2</translation>
        </message>
        <message>
            <source>the routing was not stored: %1</source>
            <translation>路由状态未能保存：%1</translation>
        </message>
    </context>
    <context>
        <name>SerialLinkGroup</name>
        <message>
            <source>Com Setting</source>
            <translation>串口设置</translation>
        </message>
        <message>
            <source>Com</source>
            <translation>串口</translation>
        </message>
        <message>
            <source>Baud</source>
            <translation>波特率</translation>
        </message>
    </context>
    <context>
        <name>protocoladapter</name>
        <message>
            <source>can't open port %1: %2</source>
            <translation>无法打开串口 %1：%2</translation>
        </message>
        <message>
            <source>can't connect to %1:%2: %3</source>
            <translation>无法连接到 %1:%2：%3</translation>
        </message>
        <message>
            <source>TCP link did not close: %1</source>
            <translation>TCP 连接未能断开：%1</translation>
        </message>
        <message>
            <source>no answer to %1</source>
            <translation>%1 没有应答</translation>
        </message>
        <message>
            <source>%1 was not sent whole: %2</source>
            <translation>%1 未能完整发送：%2</translation>
        </message>
        <message>
            <source>TCP link dropped: %1</source>
            <translation>TCP 连接已断开：%1</translation>
        </message>
        <message>
            <source>serial link %1 dropped: %2</source>
            <translation>串口连接 %1 已断开：%2</translation>
        </message>
        <message>
            <source>commands go out on the serial port %1</source>
            <translation>命令经串口 %1 发出</translation>
        </message>
        <message>
            <source>commands go out on TCP %1:%2</source>
            <translation>命令经 TCP %1:%2 发出</translation>
        </message>
        <message>
            <source>%1 not sent: no link is open</source>
            <translation>%1 未发送：没有打开的连接</translation>
        </message>
    </context>
</TS>
