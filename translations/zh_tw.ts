<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
    <context>
        <name>AdvancedSetting</name>
        <message>
            <source>Back</source>
            <translation>返回</translation>
        </message>
        <message>
            <source>Poll Setting</source>
            <translation>輪詢設定</translation>
        </message>
        <message>
            <source>Input Begin</source>
            <translation>起始輸入</translation>
        </message>
        <message>
            <source>Input End</source>
            <translation>結束輸入</translation>
        </message>
        <message>
            <source>Output Begin</source>
            <translation>起始輸出</translation>
        </message>
        <message>
            <source>Output End</source>
            <translation>結束輸出</translation>
        </message>
        <message>
            <source>Sleep</source>
            <translation>間隔(毫秒)</translation>
        </message>
        <message>
            <source>Start Poll</source>
            <translation>開始輪詢</translation>
        </message>
        <message>
            <source>Poll Info</source>
            <translation>輪詢資訊</translation>
        </message>
        <message>
            <source>Timing Switch</source>
            <translation>定時切換</translation>
        </message>
        <message>
            <source>Output</source>
            <translation>輸出</translation>
        </message>
        <message>
            <source>Start Timing</source>
            <translation>開始定時</translation>
        </message>
        <message>
            <source>Switch Info</source>
            <translation>切換資訊</translation>
        </message>
        <message>
            <source>Stop Poll</source>
            <translation>停止輪詢</translation>
        </message>
        <message>
            <source>Stop Timing</source>
            <translation>停止定時</translation>
        </message>
        <message>
            <source>Poll not started: no link is open</source>
            <translation>輪詢未開始：沒有開啟的連線</translation>
        </message>
        <message>
            <source>Timing not started: no link is open</source>
            <translation>定時切換未開始：沒有開啟的連線</translation>
        </message>
        <message>
            <source>Poll stopped: no link is left</source>
            <translation>輪詢已停止：已沒有可用的連線</translation>
        </message>
        <message>
            <source>Timing stopped: no link is left</source>
            <translation>定時切換已停止：已沒有可用的連線</translation>
        </message>
    </context>
    <context>
        <name>CAboutversion</name>
        <message>
            <source>Access word</source>
            <translation>存取密碼</translation>
        </message>
    </context>
    <context>
        <name>CAliasSetting</name>
        <message>
            <source>Scene Alias</source>
            <translation>場景別名</translation>
        </message>
        <message>
            <source>Scene</source>
            <translation>場景</translation>
        </message>
        <message>
            <source>Matrix In Alias</source>
            <translation>矩陣輸入別名</translation>
        </message>
        <message>
            <source>Matrix In</source>
            <translation>矩陣輸入</translation>
        </message>
        <message>
            <source>Matrix Out Alias</source>
            <translation>矩陣輸出別名</translation>
        </message>
        <message>
            <source>Matrix Out</source>
            <translation>矩陣輸出</translation>
        </message>
        <message>
            <source>Matrix ID Setting</source>
            <translation>矩陣編號設定</translation>
        </message>
        <message>
            <source>Matrix ID</source>
            <translation>矩陣編號</translation>
        </message>
        <message>
            <source>IP Card Alias</source>
            <translation>網路卡別名</translation>
        </message>
        <message>
            <source>IP</source>
            <translation>IP</translation>
        </message>
        <message>
            <source>Defualt</source>
            <translation>預設</translation>
        </message>
        <message>
            <source>New</source>
            <translation>新名稱</translation>
        </message>
        <message>
            <source>Ok</source>
            <translation>確定</translation>
        </message>
        <message>
            <source>Cancel</source>
            <translation>取消</translation>
        </message>
        <message>
            <source>Default</source>
            <translation>預設</translation>
        </message>
        <message>
            <source>A matrix ID is a whole number from 0 to %1.</source>
            <translation>矩陣編號須為 0 到 %1 的整數。</translation>
        </message>
    </context>
    <context>
        <name>CConfigIPDlg</name>
        <message>
            <source>Net Setting</source>
            <translation>網路設定</translation>
        </message>
        <message>
            <source>ip</source>
            <translation>IP位址</translation>
        </message>
        <message>
            <source>port</source>
            <translation>連接埠</translation>
        </message>
        <message>
            <source>subnet</source>
            <translation>子網路遮罩</translation>
        </message>
        <message>
            <source>gateway</source>
            <translation>閘道</translation>
        </message>
        <message>
            <source>mac</source>
            <translation>MAC位址</translation>
        </message>
        <message>
            <source>OK</source>
            <translation>確定</translation>
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
            <translation>連線</translation>
        </message>
        <message>
            <source>disconnect</source>
            <translation>中斷連線</translation>
        </message>
        <message>
            <source>Net Setting</source>
            <translation>網路設定</translation>
        </message>
        <message>
            <source>IP</source>
            <translation>IP</translation>
        </message>
        <message>
            <source>Port</source>
            <translation>連接埠</translation>
        </message>
        <message>
            <source>Connect</source>
            <translation>連線</translation>
        </message>
        <message>
            <source>Get</source>
            <translation>讀取</translation>
        </message>
        <message>
            <source>Add</source>
            <translation>新增</translation>
        </message>
        <message>
            <source>All</source>
            <translation>全選</translation>
        </message>
        <message>
            <source>Clear</source>
            <translation>清除</translation>
        </message>
        <message>
            <source>Devices</source>
            <translation>裝置清單</translation>
        </message>
        <message>
            <source>the answer to Get holds no network settings; nothing changed</source>
            <translation>讀取的回應中沒有網路設定，未作變更</translation>
        </message>
        <message>
            <source>the answer to Get has %1 of %2 fields; nothing changed</source>
            <translation>讀取的回應只有 %1 項（應為 %2 項），未作變更</translation>
        </message>
        <message>
            <source>%1 not sent: no link is open</source>
            <translation>%1 未傳送：沒有開啟的連線</translation>
        </message>
        <message>
            <source>%1 not sent: the TCP link is not to %2</source>
            <translation>%1 未傳送：TCP 連線的不是 %2</translation>
        </message>
        <message>
            <source>retrying</source>
            <translation>正在重試</translation>
        </message>
        <message>
            <source>The link dropped and is being tried again; click to stop</source>
            <translation>連線已中斷，正在重新連線；按一下停止</translation>
        </message>
        <message>
            <source>Connect: no row is ticked</source>
            <translation>連線：沒有勾選任何一列</translation>
        </message>
        <message>
            <source>%1 rows are ticked: connecting to the topmost, %2:%3</source>
            <translation>勾選了 %1 列：連線最上面的一列，%2:%3</translation>
        </message>
    </context>
    <context>
        <name>CDebugerFrame</name>
        <message>
            <source>Tset code</source>
            <translation>測試指令</translation>
        </message>
        <message>
            <source>Hex</source>
            <translation>十六進位</translation>
        </message>
        <message>
            <source>send</source>
            <translation>傳送</translation>
        </message>
        <message>
            <source>Command log</source>
            <translation>指令記錄</translation>
        </message>
        <message>
            <source>Command log in hex</source>
            <translation>指令記錄（十六進位）</translation>
        </message>
        <message>
            <source>Command to send</source>
            <translation>待傳送指令</translation>
        </message>
        <message>
            <source>"%1" is no hex byte (00 to FF): nothing sent</source>
            <translation>「%1」不是十六進位位元組（00 到 FF）：未傳送</translation>
        </message>
        <message>
            <source>"%1" is no hex byte (00 to FF)</source>
            <translation>「%1」不是十六進位位元組（00 到 FF）</translation>
        </message>
    </context>
    <context>
        <name>CIPEdit</name>
        <message>
            <source>IP address</source>
            <translation>IP位址</translation>
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
            <translation>%1 到 %2 未傳送：沒有開啟的連線</translation>
        </message>
        <message>
            <source>Routing</source>
            <translation>路由</translation>
        </message>
        <message>
            <source>The routes sent from this program: the matrix cannot be asked what it carries. Rows are outputs, columns inputs; "?" marks an output never routed from here. Click a cell or press Space to route that input to that output.</source>
            <translation>這裡顯示本程式傳送過的切換：矩陣無法查詢目前狀態。列為輸出，欄為輸入；「?」表示從未由本程式切換過的輸出。按一下儲存格或按空白鍵，即把該輸入切換到該輸出。</translation>
        </message>
        <message>
            <source>Routing: outputs by inputs</source>
            <translation>路由：輸出 × 輸入</translation>
        </message>
    </context>
    <context>
        <name>CSceneFrame</name>
        <message>
            <source>Buzz On</source>
            <translation>蜂鳴器開</translation>
        </message>
        <message>
            <source>Buzz OFF</source>
            <translation>蜂鳴器關</translation>
        </message>
        <message>
            <source>VGA Auto</source>
            <translation>VGA自動</translation>
        </message>
        <message>
            <source>Scene Save</source>
            <translation>場景儲存</translation>
        </message>
        <message>
            <source>Scene Load</source>
            <translation>場景載入</translation>
        </message>
        <message>
            <source>Rename</source>
            <translation>重新命名</translation>
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
            <translation>視訊</translation>
        </message>
        <message>
            <source>Audio</source>
            <translation>音訊</translation>
        </message>
        <message>
            <source>Switch</source>
            <translation>切換</translation>
        </message>
        <message>
            <source>Switch All</source>
            <translation>全部切換</translation>
        </message>
        <message>
            <source>One By One</source>
            <translation>一一對應</translation>
        </message>
        <message>
            <source>Write</source>
            <translation>寫入</translation>
        </message>
        <message>
            <source>Setting</source>
            <translation>設定</translation>
        </message>
        <message>
            <source>%1 not sent: no input is ticked</source>
            <translation>%1 未傳送：沒有勾選輸入</translation>
        </message>
        <message>
            <source>%1 not sent: no output is ticked</source>
            <translation>%1 未傳送：沒有勾選輸出</translation>
        </message>
        <message>
            <source>%1 not sent: %2 inputs are ticked, one is wanted</source>
            <translation>%1 未傳送：勾選了 %2 個輸入，只能勾選一個</translation>
        </message>
        <message>
            <source>%1 not sent: %2 outputs are ticked, one is wanted</source>
            <translation>%1 未傳送：勾選了 %2 個輸出，只能勾選一個</translation>
        </message>
    </context>
    <context>
        <name>CTitleFrame</name>
        <message>
            <source>Language</source>
            <translation>語言</translation>
        </message>
        <message>
            <source>Copyright</source>
            <translation>版權資訊</translation>
        </message>
        <message>
            <source>Menu</source>
            <translation>選單</translation>
        </message>
        <message>
            <source>Minimize</source>
            <translation>最小化</translation>
        </message>
        <message>
            <source>Close</source>
            <translation>關閉</translation>
        </message>
        <message>
            <source>Matrix ID: %1</source>
            <translation>矩陣編號：%1</translation>
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
            <translation>矩陣輸入</translation>
        </message>
        <message>
            <source>Matrix Out</source>
            <translation>矩陣輸出</translation>
        </message>
        <message>
            <source>Rename</source>
            <translation>重新命名</translation>
        </message>
    </context>
    <context>
        <name>DeviceListMenu</name>
        <message>
            <source>Setting</source>
            <translation>設定</translation>
        </message>
        <message>
            <source>Reset</source>
            <translation>重設</translation>
        </message>
        <message>
            <source>Delete</source>
            <translation>刪除</translation>
        </message>
        <message>
            <source>Set Alias</source>
            <translation>設定別名</translation>
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
            <translation>已勾選</translation>
        </message>
        <message>
            <source>Not ticked</source>
            <translation>未勾選</translation>
        </message>
        <message>
            <source>Tick</source>
            <translation>勾選</translation>
        </message>
    </context>
    <context>
        <name>FileNotices</name>
        <message>
            <source>%1 could not be written; the channel names of this run are lost</source>
            <translation>%1 無法寫入，本次執行的通道名稱已遺失</translation>
        </message>
        <message>
            <source>%1 could not be read; the channels show their default names</source>
            <translation>%1 無法讀取，通道顯示預設名稱</translation>
        </message>
        <message>
            <source>%1 is damaged; names it lost take their defaults; the file is kept as %2</source>
            <translation>%1 已損毀，遺失的名稱使用預設值；原檔案已另存為 %2</translation>
        </message>
        <message>
            <source>%1 is damaged; names it lost take their defaults; the file could not be kept as %2</source>
            <translation>%1 已損毀，遺失的名稱使用預設值；原檔案無法另存為 %2</translation>
        </message>
        <message>
            <source>%1 could not be read (%2); the device list starts empty and the file is not written over</source>
            <translation>%1 無法讀取（%2），裝置清單為空，該檔案不會被覆寫</translation>
        </message>
        <message>
            <source>%1 is not a valid JSON address book; the device list starts empty and the file stays as it is until the list changes; a copy is kept as %2</source>
            <translation>%1 不是有效的 JSON 通訊錄，裝置清單為空；清單變更之前該檔案保持原樣；副本已另存為 %2</translation>
        </message>
        <message>
            <source>%1 is not a valid JSON address book; the device list starts empty and the file stays as it is until the list changes; no copy could be kept as %2</source>
            <translation>%1 不是有效的 JSON 通訊錄，裝置清單為空；清單變更之前該檔案保持原樣；無法另存副本為 %2</translation>
        </message>
        <message>
            <source>%1 holds values that are not device texts; they read as empty; a copy is kept as %2</source>
            <translation>%1 含有不是裝置文字的值，按空白讀取；副本已另存為 %2</translation>
        </message>
        <message>
            <source>%1 holds values that are not device texts; they read as empty; no copy could be kept as %2</source>
            <translation>%1 含有不是裝置文字的值，按空白讀取；無法另存副本為 %2</translation>
        </message>
        <message>
            <source>%1 could not be written (%2); the device list of this run is lost</source>
            <translation>%1 無法寫入（%2），本次執行的裝置清單已遺失</translation>
        </message>
        <message>
            <source>%1 could not be written; the scene names of this run are lost</source>
            <translation>%1 無法寫入，本次執行的場景名稱已遺失</translation>
        </message>
        <message>
            <source>%1 could not be written; the new name of scene %2 is kept in memory</source>
            <translation>%1 無法寫入，場景 %2 的新名稱僅保存在記憶體中</translation>
        </message>
        <message>
            <source>%1 could not be read; the scenes show their default names</source>
            <translation>%1 無法讀取，場景顯示預設名稱</translation>
        </message>
        <message>
            <source>%1 is damaged; keys it lost read as absent</source>
            <translation>%1 已損毀，遺失的設定項按未設定處理</translation>
        </message>
        <message>
            <source>%1 could not be read; its keys read as absent</source>
            <translation>%1 無法讀取，其設定項按未設定處理</translation>
        </message>
        <message>
            <source>%1 is damaged and is written anew; the old file is kept as %2</source>
            <translation>%1 已損毀，將重新寫入；原檔案已另存為 %2</translation>
        </message>
        <message>
            <source>%1 is damaged and is written anew; the old file could not be kept as %2</source>
            <translation>%1 已損毀，將重新寫入；原檔案無法另存為 %2</translation>
        </message>
        <message>
            <source>%1 could not be written; settings stored in this run are lost</source>
            <translation>%1 無法寫入，本次執行儲存的設定已遺失</translation>
        </message>
        <message>
            <source>%1 holds %2=%3, which is no whole number: it reads as absent</source>
            <translation>%1 中的 %2=%3 不是整數，按未設定處理</translation>
        </message>
        <message>
            <source>%1 holds %2=%3, which is no whole number from %4 to %5: %6 is used</source>
            <translation>%1 中的 %2=%3 不是 %4 到 %5 之間的整數，改用 %6</translation>
        </message>
        <message>
            <source>%1 holds %2=%3, which is not among its choices: %4 is used</source>
            <translation>%1 中的 %2=%3 不在可選範圍內，改用 %4</translation>
        </message>
    </context>
    <context>
        <name>LinkKeeper</name>
        <message>
            <source>%1: stopped trying the link again</source>
            <translation>%1：已停止重新連線</translation>
        </message>
        <message>
            <source>%1: trying the link again in the background</source>
            <translation>%1：正在背景重新連線</translation>
        </message>
        <message>
            <source>%1: the link is back</source>
            <translation>%1：連線已恢復</translation>
        </message>
        <message>
            <source>TCP link to %1</source>
            <translation>到 %1 的 TCP 連線</translation>
        </message>
        <message>
            <source>serial link %1</source>
            <translation>序列埠連線 %1</translation>
        </message>
    </context>
    <context>
        <name>RouteModel</name>
        <message>
            <source>Input %1</source>
            <translation>輸入 %1</translation>
        </message>
        <message>
            <source>Output %1</source>
            <translation>輸出 %1</translation>
        </message>
        <message>
            <source>not known</source>
            <translation>未知</translation>
        </message>
        <message>
            <source>routed</source>
            <translation>已切換</translation>
        </message>
        <message>
            <source>not routed</source>
            <translation>未切換</translation>
        </message>
        <message>
            <source>%1 from %2: %3</source>
            <translation>%1 接 %2：%3</translation>
        </message>
        <message>
            <source>%1 (%2): not routed from here, not known</source>
            <translation>%1（%2）：未從本程式切換過，狀態未知</translation>
        </message>
    </context>
    <context>
        <name>RouteTracker</name>
        <message>
            <source>%1 was not read: %2</source>
            <translation>未能讀取 %1：%2</translation>
        </message>
        <message>
            <source>the routing was not stored: %1</source>
            <translation>路由狀態未能儲存：%1</translation>
        </message>
    </context>
    <context>
        <name>SerialLinkGroup</name>
        <message>
            <source>Com Setting</source>
            <translation>序列埠設定</translation>
        </message>
        <message>
            <source>Com</source>
            <translation>序列埠</translation>
        </message>
        <message>
            <source>Baud</source>
            <translation>鮑率</translation>
        </message>
    </context>
    <context>
        <name>protocoladapter</name>
        <message>
            <source>can't open port %1: %2</source>
            <translation>無法開啟序列埠 %1：%2</translation>
        </message>
        <message>
            <source>can't connect to %1:%2: %3</source>
            <translation>無法連線到 %1:%2：%3</translation>
        </message>
        <message>
            <source>TCP link did not close: %1</source>
            <translation>TCP 連線未能中斷：%1</translation>
        </message>
        <message>
            <source>no answer to %1</source>
            <translation>%1 沒有回應</translation>
        </message>
        <message>
            <source>%1 was not sent whole: %2</source>
            <translation>%1 未能完整傳送：%2</translation>
        </message>
        <message>
            <source>TCP link dropped: %1</source>
            <translation>TCP 連線已中斷：%1</translation>
        </message>
        <message>
            <source>serial link %1 dropped: %2</source>
            <translation>序列埠連線 %1 已中斷：%2</translation>
        </message>
        <message>
            <source>commands go out on the serial port %1</source>
            <translation>命令經序列埠 %1 送出</translation>
        </message>
        <message>
            <source>commands go out on TCP %1:%2</source>
            <translation>命令經 TCP %1:%2 送出</translation>
        </message>
        <message>
            <source>%1 not sent: no link is open</source>
            <translation>%1 未傳送：沒有開啟的連線</translation>
        </message>
    </context>
</TS>
