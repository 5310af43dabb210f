<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
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
            <translation>输入通道别名</translation>
        </message>
        <message>
            <source>Matrix In</source>
            <translation>矩阵输入</translation>
        </message>
        <message>
            <source>Matrix Out Alias</source>
            <translation>输出通道别名</translation>
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
    </context>
    <context>
        <name>CDebugerFrame</name>
        <message>
            <source>Tset code</source>
            <translation>测试代码</translation>
        </message>
        <message>
            <source>Hex</source>
            <translation>十六进制</translation>
        </message>
        <message>
            <source>send</source>
            <translation>发送</translation>
        </message>
    </context>
</TS>
