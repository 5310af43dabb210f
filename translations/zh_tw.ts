<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
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
            <translation>輸入通道別名</translation>
        </message>
        <message>
            <source>Matrix In</source>
            <translation>矩陣輸入</translation>
        </message>
        <message>
            <source>Matrix Out Alias</source>
            <translation>輸出通道別名</translation>
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
    </context>
    <context>
        <name>CDebugerFrame</name>
        <message>
            <source>Tset code</source>
            <translation>測試代碼</translation>
        </message>
        <message>
            <source>Hex</source>
            <translation>十六進位</translation>
        </message>
        <message>
            <source>send</source>
            <translation>傳送</translation>
        </message>
    </context>
</TS>
